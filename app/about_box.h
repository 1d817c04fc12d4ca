#pragma once

#include <string>

#include "app/about_texts.h"
#include "platform/framework/form.h"
#include "platform/framework/image.h"
#include "platform/framework/label.h"
#include "platform/framework/panel.h"
#include "widgets/lb_button.h"

namespace rv {

// The About box: a borderless window with the program's name, version, maker, the processor,
// the system and the memory. It is moved by dragging its header; the copyright line writes to
// the maker and the logo opens the maker's web page.
class TdlgAbout : public TForm {
public:
    TdlgAbout();
    std::string ClassName() const override { return "TdlgAbout"; }

    TPanel* Header;
    TImage* Icon;
    TLabel *lproduct, *lVer, *lDesc, *lCopy, *lCPU, *lOS, *lMem, *lComment;
    TImage* Image1;
    TLbButton* bOK;

    void ShowTexts(const TAboutTexts& texts);
    void cmMoveForm(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void cmEmail(TObject* sender);
    void Image1Click(TObject* sender);
};

// Shows the About box of `kind` (0 for the "About..." command) with `text` as its comment
// when given.
void ShowAboutDlg(int kind, const std::string& text);

}  // namespace rv
