// Arbitrary bytes through the binary XML reader. Nothing may crash, hang or allocate beyond
// what the input justifies; what the reader accepts is written back in both string forms,
// reads again, and then stays byte for byte the same.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "medialib/xml/simple_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Inputs without the signature would only exercise the text parser.
    if (!bytes.starts_with(rv::kBinaryXmlSignature)) bytes.insert(0, rv::kBinaryXmlSignature);
    rv::IXmlDocument doc = rv::MakeXmlDocument();
    try {
        doc->LoadBinaryXML(bytes);
    } catch (const rv::EXmlError&) {
        return 0;
    }
    doc->Xml();
    for (const std::uint32_t options : {0u, 1u}) {
        const std::string written = doc->BinaryXml(options);
        rv::IXmlDocument again = rv::MakeXmlDocument();
        again->LoadBinaryXML(written);  // throws, and so fails the run, on unreadable output
        if (again->BinaryXml(options) != written) std::abort();
    }
    return 0;
}
