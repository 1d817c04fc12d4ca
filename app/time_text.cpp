#include "app/time_text.h"

#include "platform/text/format.h"
#include "platform/text/round.h"

namespace rv {

TMinSec SplitMinSec(double seconds) {
    std::int64_t whole = Round(seconds);
    if (whole < 0) whole = 0;
    return {whole / 60, whole % 60};
}

std::string MinSecText(double seconds) {
    TMinSec t = SplitMinSec(seconds);
    return Format("%2.2lld:%2.2lld", static_cast<long long>(t.Minutes),
                  static_cast<long long>(t.Seconds));
}

}  // namespace rv
