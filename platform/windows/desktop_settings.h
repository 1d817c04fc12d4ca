#pragma once

namespace rv {

// The desktop's input settings and its alert sound.

// Lines a notch of the mouse wheel scrolls (the desktop's setting, 3 by default).
int GetWheelScrollLines();

// How the desktop shows tool tips: not animated, fading in or sliding in.
enum class TTooltipAnimation { None, Fade, Slide };
TTooltipAnimation GetTooltipAnimation();

// The alert sound of the desktop (the type is the platform's sound kind; one sound serves all).
// Every call is counted, so that a caller's beep can be seen without a loudspeaker.
void MessageBeep(unsigned type = 0);
unsigned MessageBeepCount();

}  // namespace rv
