#include "medialib/file_number.h"

#include <clocale>
#include <string>

#include "medialib/safe_convert.h"

namespace rv {

double FileStrToFloat(std::string_view text) {
    const lconv* conv = std::localeconv();
    const char separator = conv != nullptr && conv->decimal_point != nullptr &&
                                   conv->decimal_point[0] != '\0' && conv->decimal_point[1] == '\0'
                               ? conv->decimal_point[0]
                               : '.';
    const char other = separator == ',' ? '.' : ',';
    const size_t pos = text.find(other);
    if (pos == std::string_view::npos) return SafeStrToFloat(text);
    std::string local(text);
    local[pos] = separator;
    return SafeStrToFloat(local);
}

}  // namespace rv
