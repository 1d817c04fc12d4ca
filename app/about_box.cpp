#include "app/about_box.h"

#include "app/app_pictures.h"
#include "app/dialog_buttons.h"
#include "platform/windows/dialog_service.h"
#include "platform/windows/top_level_window.h"
#include "platform/windows/window_host.h"
#include "widgets/hand_cursors.h"

namespace rv {

namespace {

constexpr TColor kHeaderColor = RGB(29, 56, 56);

TLabel* Text(TWinControl* parent, int x, int y, const char* name, const char* design) {
    auto* label = new TLabel(parent->Owner() ? parent->Owner() : parent);
    label->SetName(name);
    label->SetParent(parent);
    label->SetBounds(x, y, 0, 0);
    label->SetShowAccelChar(false);
    label->SetCaption(design);
    return label;
}

}  // namespace

TdlgAbout::TdlgAbout() : TForm(nullptr) {
    SetName("dlgAbout");
    SetBorderStyle(bsNone);
    Position = poMainFormCenter;
    SetClientSize(397, 281);

    Header = new TPanel(this);
    Header->SetName("Header");
    Header->SetParent(this);
    Header->SetBounds(0, 0, 397, 64);
    Header->SetBevelOuter(bvNone);
    Header->SetColor(kHeaderColor);
    Icon = new TImage(this);
    Icon->SetName("Icon");
    Icon->SetParent(Header);
    Icon->SetBounds(12, 8, 48, 48);
    Icon->SetPictureMaker([](double ratio) { return AppIcon(48, kHeaderColor, ratio); });
    lproduct = Text(Header, 72, 10, "lproduct", "Product Name");
    TFont big = lproduct->Font();
    big.Height = -19;
    big.Style = fsBold;
    big.Color = RGB(160, 230, 60);
    lproduct->SetFont(big);
    lVer = Text(Header, 72, 38, "lVer", "Version");
    lVer->SetFontColor(RGB(90, 220, 230));

    lDesc = Text(this, 16, 78, "lDesc", "Application Description");
    lCopy = Text(this, 16, 100, "lCopy", "Copyright");
    lCopy->SetFontColor(clNavy);
    lCopy->SetCursor(crHand);
    lCPU = Text(this, 16, 132, "lCPU", "CPU");
    lOS = Text(this, 16, 152, "lOS", "OS");
    lMem = Text(this, 16, 172, "lMem", "Memory");
    lComment = Text(this, 16, 200, "lComment", "");
    lComment->SetAutoSize(false);
    lComment->SetWordWrap(true);
    lComment->SetBounds(16, 200, 365, 32);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(this);
    Image1->SetBounds(16, 241, 32, 32);
    Image1->SetPictureMaker([](double ratio) { return AppIcon(32, clBtnFace, ratio); });
    Image1->SetCursor(crHand);
    Image1->Hint = kMakerWebPage;
    Image1->ShowHint = true;

    bOK = MakeDialogButton(this, this, "bOK", "OK", 306, 245);
    bOK->SetModalResult(mrOk);
    bOK->Default = true;
    bOK->Cancel = true;

    auto move = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        cmMoveForm(s, b, sh, x, y);
    };
    for (TControl* handle : std::initializer_list<TControl*>{Header, Icon, lproduct, lVer})
        handle->OnMouseDown = move;
    lCopy->OnMouseEnter = [this](TObject*) {
        TFont f = lCopy->Font();
        f.Style |= fsUnderline;
        lCopy->SetFont(f);
    };
    lCopy->OnMouseLeave = [this](TObject*) {
        TFont f = lCopy->Font();
        f.Style &= ~fsUnderline;
        lCopy->SetFont(f);
    };
    lCopy->OnClick = [this](TObject* s) { cmEmail(s); };
    Image1->OnClick = [this](TObject* s) { Image1Click(s); };
}

void TdlgAbout::ShowTexts(const TAboutTexts& texts) {
    SetCaption(texts.Caption);
    lproduct->SetCaption(texts.Product);
    if (!texts.Desc.empty()) lDesc->SetCaption(texts.Desc);
    lCopy->SetCaption(texts.Copy);
    lCPU->SetCaption(texts.CPU);
    lOS->SetCaption(texts.OS);
    lVer->SetCaption(texts.Ver);
    lMem->SetCaption(texts.Mem);
    lComment->SetCaption(texts.Comment);
}

void TdlgAbout::cmMoveForm(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft) return;
    ReleaseCapture();
    Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION);
}

void TdlgAbout::cmEmail(TObject*) {
    OpenDocument(std::string("mailto:") + kMakerMail);
}

void TdlgAbout::Image1Click(TObject*) {
    OpenDocument(kMakerWebPage);
}

void ShowAboutDlg(int kind, const std::string& text) {
    TdlgAbout box;
    box.ShowTexts(AboutTexts(kind, text, GatherAboutFacts()));
    box.ShowModal();
}

}  // namespace rv
