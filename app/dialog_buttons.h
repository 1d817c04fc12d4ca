#pragma once

#include <string>

#include "widgets/lb_button.h"

namespace rv {

// The program's push buttons in its dialogs, its progress window, its About box and its album
// panel: owner-drawn, in the modern style (a round-cornered face with a light gradient), with the
// pointing hand over them, 75 by 25 pixels (wider for a caption that needs it), at (left, top)
// of `parent`.
TLbButton* MakeDialogButton(TComponent* owner, TWinControl* parent, const char* name,
                            const std::string& caption, int left, int top);

inline constexpr int kDialogButtonWidth = 75;
inline constexpr int kDialogButtonHeight = 25;

}  // namespace rv
