#include "app/splash.h"

#include "app/app_pictures.h"
#include "app/dialog_buttons.h"
#include "app/main_window.h"
#include "platform/windows/top_level_window.h"

namespace rv {

namespace {

constexpr int kClientWidth = 301;
constexpr int kClientHeight = 54;

}  // namespace

Twnd_rv_Splash::Twnd_rv_Splash(TForm* mainWindow) : TForm(mainWindow), mainWindow_(mainWindow) {
    SetName("wnd_rv_Splash");
    SetCaption(kProgramTitle);
    SetBorderStyle(bsToolWindow);
    SetBorderIcons(0);
    Position = poOwnerFormCenter;
    SetClientSize(kClientWidth, kClientHeight);

    Picture = new TImage(this);
    Picture->SetParent(this);
    Picture->SetBounds(3, 3, 48, 48);
    Picture->SetPictureMaker(AlbumPicture);

    lText = new TLabel(this);
    lText->SetName("lText");
    lText->SetParent(this);
    lText->SetBounds(60, 8, 150, 16);
    lText->SetShowAccelChar(false);

    bStop = MakeDialogButton(this, this, "bStop", "&Stop", kClientWidth - kDialogButtonWidth - 6,
                             kClientHeight - kDialogButtonHeight - 6);
    bStop->Default = true;
    bStop->Cancel = true;
    bStop->OnClick = [this](TObject* s) { cmStop(s); };
    // The window manager keeps an owned window in front of its owner, also when it never gives
    // it the activation and when the owner is raised. In front of the program's other windows it
    // comes back by itself whenever one of them takes the activation from it.
    SetWindowOwner(Handle(), mainWindow->Handle());
    OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
}

void Twnd_rv_Splash::FormDeactivate(TObject*) {
    BringToFront();
}

void Twnd_rv_Splash::cmStop(TObject*) {
    PostMessage(mainWindow_->Handle(), WM_STOPSCAN, 0, 0);
}

}  // namespace rv
