#pragma once

#include "sysinfo/processor_access.h"

namespace rv {

// The rate of the time-stamp counter in MHz: the counter's advance over about 100 ms divided
// by the time that really passed, so a late wake-up does not inflate it and no raised
// priority is needed. 0 when there is no counter.
double MeasureFrequency(TTimingSource& timing);

// Moves a frequency in MHz to the nearest of the usual clock steps within its hundred
// (.00, .20, .33, .50, .60, .66, .80, .90, the next hundred); a tie goes up: 1398 -> 1400,
// 1432 -> 1433, 1010 -> 1020.
int SnapFrequency(int mhz);

}  // namespace rv
