#include "widgets/lb_types.h"

namespace rv {

bool GetColorStylePreset(TLbColorStyle style, TLbColorStylePreset& p) {
    switch (style) {
        case lcsGold:
            p = {0x00C0C0, 0x00FFFF, 0x008080, 0x00DFDF, clNone, clBlack, false, bsModern};
            break;
        case lcsChrome:
            p = {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, clBlack, false, bsModern};
            break;
        case lcsBlue:
            p = {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, clBlack, false, bsModern};
            break;
        case lcsRed:
            p = {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, clBlack, false, bsModern};
            break;
        case lcsUltraFlat1:
            p = {clBtnFace, 0xB59284, 0xB59284, 0xDED3D6, 0xB59284, clBlack, true, bsNormal};
            break;
        case lcsUltraFlat2:
            p = {clBtnFace, 0x000000, 0x000000, 0x8CF6E4, 0x24DABC, clBlack, true, bsNormal};
            break;
        case lcsUltraFlatXP:
            p = {0xD1D8DB, 0xB59284, 0xB59285, 0xD2BDB6, 0xB59285, clBlack, true, bsNormal};
            break;
        case lcsAqua:
            p = {0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, clBlack, false, bsModern};
            break;
        case lcsDefault:
            p = {clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, clBlack, false, bsNormal};
            break;
        case lcsQuicken:
            p = {0x603000, 0xC0C0C0, 0xC0C0C0, 0xCEAE9C, 0xAD6529, clWhite, false, bsQuicken};
            break;
        default:
            return false;
    }
    return true;
}

}  // namespace rv
