#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/locale_language.h"

// The frame every processor class writes its XML report in: a declaration whose encoding
// follows the system's language, a "classes" element naming this component, the system and
// the machine, and inside it the class's own element of "data" elements.
namespace rv {

using TReportLines = std::vector<std::string>;

// The facts the frame names.
struct TReportFrame {
    std::uint16_t LangID = LANG_ENGLISH_US;
    std::string OSLongName;
    std::uint32_t OSMajor = 0;
    std::uint32_t OSMinor = 0;
    std::uint32_t OSBuild = 0;
    std::string MachineName;
};

// The frame of this machine.
TReportFrame MachineReportFrame();

// "Shift_JIS" for 1041 ... "iso8859-1" for a language without a character set of its own.
const char* ReportEncoding(std::uint16_t langId);

// The text as attribute value or element content: & " ' > < as entities, every character
// beyond ASCII as a character reference (© as &#169;), so the report holds the same text in
// whichever encoding it declares; characters XML cannot hold become U+FFFD.
std::string EscapeReportText(std::string_view text);

// One class's element inside the frame, written line by line; Close ends both.
class TReportElement {
public:
    TReportElement(TReportLines& lines, const TReportFrame& frame, std::string_view element,
                   std::string_view className);

    void Integer(std::string_view name, std::string_view source, std::int64_t value,
                 std::string_view unit = {});
    void Text(std::string_view name, std::string_view source, std::string_view value);
    void Boolean(std::string_view name, std::string_view source, bool value);
    // The lines one below the other.
    void Lines(std::string_view name, std::string_view source,
               const std::vector<std::string>& value);
    void Close();

private:
    void Data(std::string_view name, std::string_view type, std::string_view source,
              std::string_view value, std::string_view unit);

    TReportLines& lines_;
    std::string element_;
};

}  // namespace rv
