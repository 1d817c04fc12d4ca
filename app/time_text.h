#pragma once

#include <cstdint>
#include <string>

namespace rv {

// A time in seconds as the views and dialogs show it: rounded to whole seconds (halves to the
// even neighbour, so 59.5 s is 60 s), then minutes and the seconds left. A negative time counts
// as 0.
struct TMinSec {
    std::int64_t Minutes = 0;
    std::int64_t Seconds = 0;
};
TMinSec SplitMinSec(double seconds);

// "%2.2d:%2.2d": at least two digits each, so 75 minutes and 5 seconds read "75:05".
std::string MinSecText(double seconds);

}  // namespace rv
