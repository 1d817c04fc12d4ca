// Arbitrary bytes through the XML text parser. Nothing may crash; what the parser accepts, the
// writer writes back as text the parser accepts again, unchanged by a second round.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "medialib/xml/simple_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    rv::IXmlDocument doc = rv::MakeXmlDocument();
    try {
        doc->LoadFromBytes(bytes);
    } catch (const rv::EXmlError&) {
        return 0;
    }
    const std::string text = doc->Xml();
    rv::IXmlDocument again = rv::MakeXmlDocument();
    again->LoadXML(text);  // throws, and so fails the run, if the writer made bad XML
    if (again->Xml() != text) std::abort();

    std::string saved;
    try {
        saved = doc->SaveToBytes();
    } catch (const rv::EXmlError&) {
        return 0;  // an encoding files cannot be written in, or a name it cannot hold
    }
    again->LoadFromBytes(saved);
    return 0;
}
