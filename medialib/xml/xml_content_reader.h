#pragma once

#include <string>
#include <string_view>

namespace rv {

class TXmlNameTable;
class XmlContentHandler;

// Reads the bytes of an XML file, whatever their form, reporting the content to `handler` with
// names identified in `names`. Text is decoded as its byte-order mark or declaration says and
// read as it goes; the binary form is read whole and then reported the same way, so the handler
// cannot tell the forms apart. Errors are those of loading the bytes into a document.
void ReadXmlContent(std::string_view bytes, XmlContentHandler& handler, TXmlNameTable& names,
                    bool preserveWhiteSpace);

// The bytes of a file to be read as XML; raises EFileError naming the file when it cannot be
// read.
std::string ReadXmlFile(const std::string& fileName);

}  // namespace rv
