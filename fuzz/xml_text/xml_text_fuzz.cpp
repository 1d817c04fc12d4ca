// Arbitrary bytes through the XML text parser. Nothing may crash; what the parser accepts, the
// writer writes back as text the parser accepts again, and that text survives further rounds.
// Each document has a name table of its own, which goes with it: the thread's table never drops a
// name, and would grow by every name the run invents.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "medialib/xml/simple_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    rv::IXmlDocument doc = rv::MakeXmlDocument({}, "1.0", {}, new rv::TXmlNameTable);
    try {
        doc->LoadFromBytes(bytes);
    } catch (const rv::EXmlError&) {
        return 0;
    }
    // The first writing may tidy up (declarations out of place, characters XML cannot carry
    // replaced, text runs meeting where something was left out); from then on the text stays as
    // it is.
    rv::IXmlDocument again = rv::MakeXmlDocument({}, "1.0", {}, new rv::TXmlNameTable);
    again->LoadXML(doc->Xml());  // throws, and so fails the run, if the writer made bad XML
    const std::string text = again->Xml();
    again->LoadXML(text);
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
