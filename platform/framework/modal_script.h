#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace rv {

class TCustomForm;

// Plays the user's part for forms shown modally, in tests: while a script lives, each form that
// ShowModal shows is handed, once it is on the screen, to the next step, which may fill its
// controls, press its buttons or set its ModalResult. A step that leaves the form without a
// result, and a form that finds no step left, get mrCancel, so that no modal loop waits for a
// user who is not there. A form that refuses to close with the result it was given (its
// CloseQuery) is handed to the next step again. The captions of the forms are recorded in order,
// each time a step is played on them.
class TModalScript {
public:
    TModalScript();
    ~TModalScript();
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    void Then(std::function<void(TCustomForm& form)> step);
    std::size_t Pending() const { return steps_.size(); }
    std::vector<std::string> Shown;

    // The script in use, or nullptr.
    static TModalScript* Current();
    // Runs the next step on a form that has just been shown modally.
    void Drive(TCustomForm& form);

private:
    std::deque<std::function<void(TCustomForm&)>> steps_;
    TModalScript* replaced_;
};

}  // namespace rv
