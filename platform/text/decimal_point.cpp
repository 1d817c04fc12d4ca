#include "platform/text/decimal_point.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <clocale>
#include <cmath>

namespace rv {

std::string LocaleDecimalPoint() {
    const std::lconv* conv = std::localeconv();
    if (conv == nullptr || conv->decimal_point == nullptr || *conv->decimal_point == '\0')
        return ".";
    return conv->decimal_point;
}

bool PointTextToFloat(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    double parsed = 0;
    const auto result = std::from_chars(text.data(), end, parsed, std::chars_format::general);
    if (result.ptr != end) return false;
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars gives up on an underflow too; strtod in the C locale rounds it to the
        // nearest tiny number or zero (and an overflow to infinity, which we refuse).
        static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
        parsed = strtod_l(std::string(text).c_str(), nullptr, cLocale);
        if (std::isinf(parsed)) return false;
    } else if (result.ec != std::errc()) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace rv
