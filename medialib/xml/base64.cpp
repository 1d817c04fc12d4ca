#include "medialib/xml/base64.h"

#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/format.h"

namespace rv {

std::string Base64Decode(std::string_view text) {
    std::string bytes;
    const char* what = nullptr;
    switch (Base64DecodeTo(text, bytes)) {
        case Base64Fault::None:
            return bytes;
        case Base64Fault::Length:
            what = "длина не кратна четырём";
            break;
        case Base64Fault::Padding:
            what = "лишний знак \"=\"";
            break;
        case Base64Fault::Character:
            what = "недопустимый символ";
            break;
    }
    throw EXmlError(Format(xml_messages::kBadBase64, what));
}

}  // namespace rv
