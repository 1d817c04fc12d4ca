#include "sysinfo/xml_report.h"

#include "platform/text/format.h"
#include "platform/text/utf8.h"
#include "sysinfo/system_information.h"

namespace rv {
namespace {

constexpr const char* kComponentName = "Lorvix System Information Component";
constexpr const char* kComponentVersion = "8.6";
constexpr const char* kCopyright = "Copyright © 2026 Lorvix";

bool XmlCanHold(char32_t c) {
    if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
    return c != 0xFFFE && c != 0xFFFF;
}

std::string Attribute(std::string_view name, std::string_view value) {
    std::string text = " ";
    text.append(name);
    text += "=\"";
    text += EscapeReportText(value);
    text += '"';
    return text;
}

}  // namespace

TReportFrame MachineReportFrame() {
    const TSystemInformation& system = SystemInformation();
    TReportFrame frame;
    frame.LangID = SystemDefaultLangID();
    frame.OSLongName = system.OSLongName;
    frame.OSMajor = system.OSMajor;
    frame.OSMinor = system.OSMinor;
    frame.OSBuild = system.OSBuild;
    frame.MachineName = system.MachineName;
    return frame;
}

const char* ReportEncoding(std::uint16_t langId) {
    switch (langId) {
        case 1041:
            return "Shift_JIS";
        case 1028:
            return "Big5";
        case 1029:
            return "windows-1250";
        case 1037:
            return "hebrew";
        case 1042:
            return "korean";
        case 1049:
            return "KOI8-R";
        case 2052:
            return "GB2312";
        default:
            return "iso8859-1";
    }
}

std::string EscapeReportText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = DecodeUtf8(text, pos);
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '<':
                out += "&lt;";
                break;
            default:
                if (!XmlCanHold(c)) {
                    out += "&#65533;";
                } else if (c >= 0x80) {
                    out += Format("&#%u;", static_cast<unsigned>(c));
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

TReportElement::TReportElement(TReportLines& lines, const TReportFrame& frame,
                               std::string_view element, std::string_view className)
    : lines_(lines), element_(element) {
    lines_.push_back(Format("<?xml version=\"1.0\" encoding=\"%s\" standalone=\"yes\"?>",
                            ReportEncoding(frame.LangID)));
    const std::string os = Format("%s (%u.%u.%u)", frame.OSLongName.c_str(), frame.OSMajor,
                                  frame.OSMinor, frame.OSBuild);
    lines_.push_back("<classes" + Attribute("componentname", kComponentName) +
                     Attribute("version", kComponentVersion) + Attribute("copyright", kCopyright) +
                     Attribute("os", os) + Attribute("machine", frame.MachineName) + ">");
    lines_.push_back("  <" + element_ + Attribute("classname", className) + ">");
}

void TReportElement::Integer(std::string_view name, std::string_view source, std::int64_t value,
                             std::string_view unit) {
    Data(name, "integer", source, std::to_string(value), unit);
}

void TReportElement::Text(std::string_view name, std::string_view source, std::string_view value) {
    Data(name, "string", source, value, {});
}

void TReportElement::Boolean(std::string_view name, std::string_view source, bool value) {
    Data(name, "boolean", source, value ? "true" : "false", {});
}

void TReportElement::Lines(std::string_view name, std::string_view source,
                           const std::vector<std::string>& value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (i > 0) text += '\n';
        text += value[i];
    }
    Data(name, "strings", source, text, {});
}

void TReportElement::Close() {
    lines_.push_back("  </" + element_ + ">");
    lines_.push_back("</classes>");
}

void TReportElement::Data(std::string_view name, std::string_view type, std::string_view source,
                          std::string_view value, std::string_view unit) {
    std::string line = "    <data" + Attribute("name", name) + Attribute("type", type) +
                       Attribute("source", source);
    if (!unit.empty()) line += Attribute("unit", unit);
    line += '>';
    line += EscapeReportText(value);
    line += "</data>";
    lines_.push_back(std::move(line));
}

}  // namespace rv
