#include "platform/graphics/font.h"

#include <cstdlib>

namespace rv {

int TFont::Size() const {
    int pixels = std::abs(Height);
    return (pixels * 72 + kPixelsPerInch / 2) / kPixelsPerInch;
}

void TFont::SetSize(int points) {
    Height = -((points * kPixelsPerInch + 36) / 72);
}

}  // namespace rv
