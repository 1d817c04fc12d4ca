#include "tree/shorten_string.h"

#include <cstddef>
#include <vector>

#include "platform/text/utf8.h"

namespace rv {

std::string ShortenString(TCanvas& canvas, const std::string& text, int width, bool rightToLeft,
                          int ellipsisWidth) {
    static const std::string kEllipsis = "...";
    if (ellipsisWidth == 0) ellipsisWidth = canvas.TextWidth(kEllipsis);
    if (text.empty() || width <= 0 || width <= ellipsisWidth) return {};
    // Byte offsets of the character boundaries, both ends included.
    std::vector<std::size_t> bounds{0};
    for (std::size_t pos = 0; pos < text.size();) {
        DecodeUtf8(text, pos);
        bounds.push_back(pos);
    }
    const std::size_t chars = bounds.size() - 1;
    const int room = width - ellipsisWidth;
    if (!rightToLeft) {
        // The largest count of leading characters that fits.
        std::size_t lo = 0, hi = chars;
        while (lo < hi) {
            const std::size_t mid = (lo + hi + 1) / 2;
            if (canvas.TextWidth(text.substr(0, bounds[mid])) <= room)
                lo = mid;
            else
                hi = mid - 1;
        }
        return text.substr(0, bounds[lo]) + kEllipsis;
    }
    // The smallest start whose trailing characters fit.
    std::size_t lo = 0, hi = chars;
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (canvas.TextWidth(text.substr(bounds[mid])) <= room)
            hi = mid;
        else
            lo = mid + 1;
    }
    return kEllipsis + text.substr(bounds[lo]);
}

}  // namespace rv
