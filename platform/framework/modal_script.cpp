#include "platform/framework/modal_script.h"

#include "platform/framework/form.h"

namespace rv {

namespace {

TModalScript* g_current = nullptr;

}  // namespace

TModalScript::TModalScript() : replaced_(g_current) {
    g_current = this;
}

TModalScript::~TModalScript() {
    g_current = replaced_;
}

TModalScript* TModalScript::Current() {
    return g_current;
}

void TModalScript::Then(std::function<void(TCustomForm& form)> step) {
    steps_.push_back(std::move(step));
}

void TModalScript::Drive(TCustomForm& form) {
    Shown.push_back(form.Caption());
    if (!steps_.empty()) {
        auto step = std::move(steps_.front());
        steps_.pop_front();
        step(form);
    }
    if (form.ModalResult == mrNone) form.ModalResult = mrCancel;
}

}  // namespace rv
