#include "medialib/xml/value_convert.h"

#include <cmath>
#include <limits>

#include "medialib/xml/number_text.h"
#include "medialib/xml/xml_date_time.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/ascii_case.h"
#include "platform/text/format.h"
#include "platform/text/round.h"

namespace rv {

namespace {

[[noreturn]] void ThrowCannotConvert(const XmlValue& value, const char* target) {
    const std::string text =
        value.Type() == XmlVarType::Null ? std::string("{{null}}") : ValueToText(value);
    throw EXmlError(Format(xml_messages::kCannotConvert, text.c_str(), target));
}

std::int32_t CheckedInt32(std::int64_t number, const XmlValue& value) {
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        throw EXmlError(Format(xml_messages::kIntegerRange, ValueToText(value).c_str(), "Integer"));
    }
    return static_cast<std::int32_t>(number);
}

std::int32_t RoundedInt32(double number, const XmlValue& value) {
    // Outside +-2^31 the rounding could saturate into range; check the float first.
    if (!(std::fabs(number) < 2147483649.0))
        throw EXmlError(Format(xml_messages::kIntegerRange, ValueToText(value).c_str(), "Integer"));
    return CheckedInt32(Round(number), value);
}

}  // namespace

bool ValueToBool(const XmlValue& value) {
    if (value.IsEmpty()) return false;
    if (value.IsNumeric()) return value.AsDouble() != 0;
    if (value.IsText()) {
        const std::string& text = value.StringData();
        if (SameText(text, "true")) return true;
        if (SameText(text, "false")) return false;
        double number = 0;
        if (TryTextToFloat(text, number)) return number != 0;
    }
    ThrowCannotConvert(value, "Boolean");
}

std::int32_t ValueToInt32(const XmlValue& value) {
    if (value.IsEmpty()) return 0;
    if (value.IsInteger()) return CheckedInt32(value.IntData(), value);
    if (value.IsNumeric()) return RoundedInt32(value.AsDouble(), value);
    if (value.IsText()) {
        const std::string& text = value.StringData();
        std::int64_t integer = 0;
        if (TryTextToInteger(text, integer)) return CheckedInt32(integer, value);
        double number = 0;
        if (TryTextToFloat(text, number)) return RoundedInt32(number, value);
        if (SameText(text, "true")) return 1;
        if (SameText(text, "false")) return 0;
    }
    ThrowCannotConvert(value, "Integer");
}

double ValueToFloat(const XmlValue& value) {
    if (value.IsEmpty()) return 0;
    if (value.IsNumeric()) return value.AsDouble();
    if (value.IsText()) return TextToFloat(value.StringData());
    ThrowCannotConvert(value, "Float");
}

double ValueToDateTime(const XmlValue& value) {
    if (value.IsEmpty()) return 0;
    if (value.IsText()) return TextToDateTime(value.StringData());
    if (value.IsNumeric()) return value.AsDouble();
    ThrowCannotConvert(value, "DateTime");
}

}  // namespace rv
