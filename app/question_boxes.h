#pragma once

#include <string>

namespace rv {

// The captions of the program's message boxes.
inline constexpr const char* kConfirmationCaption = "Confirmation";
inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kInformationCaption = "Information";
inline constexpr const char* kErrorCaption = "Error";

// A question with Yes and No, titled "Confirmation": true exactly when Yes was pressed.
bool Confirm(const std::string& text);
// A question with Yes, No and Cancel: IDYES, IDNO or IDCANCEL (closing the box is Cancel).
int ConfirmCancel(const std::string& text);

}  // namespace rv
