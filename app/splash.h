#pragma once

#include <string>

#include "platform/framework/form.h"
#include "platform/framework/image.h"
#include "platform/framework/label.h"
#include "widgets/lb_button.h"

namespace rv {

// The progress window: a small tool window with a text and, while a folder scan runs, the Stop
// button, which Enter and Escape press too. The main window makes it modal to the whole program
// without a loop of its own, so no other window takes input while it is up and the scan's events
// still arrive. It stays in front of the main window, and comes back to the front whenever another
// window of the program takes the activation from it.
class Twnd_rv_Splash : public TForm {
public:
    // Owned by `mainWindow`, whose window Stop reaches by WM_STOPSCAN.
    explicit Twnd_rv_Splash(TForm* mainWindow);
    std::string ClassName() const override { return "Twnd_rv_Splash"; }

    TLabel* lText;
    TImage* Picture;
    TLbButton* bStop;

    // Posts WM_STOPSCAN to the main window; the scan ends at the worker's next check.
    void cmStop(TObject* sender);
    // Brings the window back in front of the others.
    void FormDeactivate(TObject* sender);

private:
    TForm* mainWindow_;
};

}  // namespace rv
