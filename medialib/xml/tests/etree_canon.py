# Prints one line per XML file named on the command line: its element tree as read by
# xml.etree.ElementTree, every text as the hex digits of its UTF-8 bytes.
import sys
import xml.etree.ElementTree as ET


def h(text):
    return (text or "").encode("utf-8").hex()


def canon(element, tail):
    out = ["E", h(element.tag), "A"]
    for name in sorted(element.attrib):
        out += [h(name), "=", h(element.attrib[name]), ";"]
    out += ["T", h(element.text)]
    for child in element:
        out.append(canon(child, child.tail))
    out += ["/t", h(tail)]
    return "".join(out)


for path in sys.argv[1:]:
    try:
        print(canon(ET.parse(path).getroot(), None))
    except ET.ParseError as error:
        print("error", error)
