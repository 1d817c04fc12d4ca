#include "app/question_boxes.h"

#include "platform/windows/dialog_service.h"

namespace rv {

// The boxes have no owner window, as the questions are asked from anywhere in the program.
bool Confirm(const std::string& text) {
    return MessageBox(0, text, kConfirmationCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

int ConfirmCancel(const std::string& text) {
    const int answer = MessageBox(0, text, kConfirmationCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
    return answer == IDYES || answer == IDNO ? answer : IDCANCEL;
}

}  // namespace rv
