#include "platform/framework/internal/text_measure.h"

#include "platform/graphics/bitmap.h"
#include "platform/graphics/text_flags.h"

namespace rv {

TSize MeasureText(const TFont& font, const std::string& text, unsigned flags, int width) {
    // Kept for the life of the program: its font must not outlive the toolkit at exit.
    static TBitmap* scratch = new TBitmap(1, 1);
    TCanvas& canvas = scratch->Canvas();
    canvas.Font = font;
    TRect r{0, 0, width, 0};
    canvas.DrawText(text.empty() ? std::string(" ") : text, r, flags | DT_CALCRECT);
    return {text.empty() ? 0 : r.Width(), r.Height()};
}

}  // namespace rv
