#pragma once

#include <cstdint>

#include "medialib/xml/xml_value.h"

namespace rv {

// Conversions of values to the types the typed attribute operations return. A value that does
// not convert, or a number that does not fit the result, raises EXmlError; nothing is silently
// cut or wrapped.

// Numbers: non-zero is true; texts: "true"/"false" in any letter case, or a number; empty: false.
bool ValueToBool(const XmlValue& value);
// Floats and float texts are rounded half to even.
std::int32_t ValueToInt32(const XmlValue& value);
// Texts through TextToFloat (a point or the locale's separator).
double ValueToFloat(const XmlValue& value);
// Texts through TextToDateTime; numbers are taken as day counts.
double ValueToDateTime(const XmlValue& value);

}  // namespace rv
