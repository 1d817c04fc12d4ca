// Generated documents with every construct the parser reads, compared with Python's
// xml.etree.ElementTree; every file the writer makes is checked by xmllint.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "medialib/xml/simple_xml.h"
#include "platform/text/codepage.h"
#include "platform/text/format.h"
#include "platform/text/utf8.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

constexpr int kDocuments = 300;
constexpr char kPython[] = "/usr/bin/python3";

class DocumentGenerator {
public:
    DocumentGenerator(unsigned seed, bool cp1250) : random_(seed), cp1250_(cp1250) {}

    std::string Make() {
        out_.clear();
        if (cp1250_) {
            out_ += "<?xml version=\"1.0\" encoding=\"windows-1250\"?>";
        } else {
            if (Chance(4)) out_ += "\xEF\xBB\xBF";
            if (Chance(2)) out_ += "<?xml version='1.0' encoding=\"UTF-8\"?>";
        }
        Blanks();
        if (Chance(3))
            out_ += Chance(2) ? "<!DOCTYPE root>\n" : "<!DOCTYPE root [<!ELEMENT root ANY>]>";
        if (Chance(3)) Comment();
        if (Chance(3)) Instruction();
        Blanks();
        Element(0);
        Blanks();
        if (Chance(3)) Comment();
        return out_;
    }

private:
    bool Chance(int oneIn) { return random_() % static_cast<unsigned>(oneIn) == 0; }
    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    char32_t RandomChar() {
        static const char32_t kPool[] = {
            U'a',  U'B',  U'z', U'0', U'9',  U' ', U'.', U',', U'-', U'\'',     U'"',
            U'\t', U'\n', U'č', U'ř', U'Ž',  U'á', U'ů', U'Š', U'é', U'ß',      U'Ж',
            U'д',  U'€',  U'–', U'🎵', U'中', U'&', U'<', U'>', U']', U'\u00A0', U'\u0080'};
        return kPool[Below(static_cast<int>(std::size(kPool)))];
    }

    bool Encodable(char32_t c) const {
        return !cp1250_ || UnicodeToCodePage(CodePage::Windows1250, c);
    }

    void Raw(char32_t c) {
        if (!cp1250_) {
            AppendUtf8(out_, c);
            return;
        }
        out_ += static_cast<char>(*UnicodeToCodePage(CodePage::Windows1250, c));
    }

    void Reference(char32_t c) {
        out_ += Chance(2) ? Format("&#%u;", static_cast<unsigned>(c))
                          : Format("&#x%X;", static_cast<unsigned>(c));
    }

    // Character data with references, for element content or an attribute quoted with `quote`.
    void Text(int length, char quote) {
        for (int i = 0; i < length; ++i) {
            const char32_t c = RandomChar();
            if (c == '&') {
                out_ += Chance(2) ? "&amp;" : "&#38;";
            } else if (c == '<') {
                out_ += "&lt;";
            } else if (c == '>') {
                out_ += Chance(2) || out_.ends_with("]") ? "&gt;" : ">";
            } else if (quote && c == static_cast<char32_t>(quote)) {
                out_ += c == '"' ? "&quot;" : "&apos;";
            } else if (quote && (c == '\t' || c == '\n')) {
                Reference(c);  // a raw one would be normalised to a blank
            } else if (!Encodable(c) || Chance(10)) {
                Reference(c);
            } else {
                Raw(c);
            }
        }
        if (!quote && Chance(8)) out_ += "&#13;";
    }

    // Text where no reference can stand.
    void Plain(int length, std::string_view forbidden) {
        for (int i = 0; i < length; ++i) {
            char32_t c = RandomChar();
            if (!Encodable(c) || c == '\n' || c == '-' || c == '>' || c == '?') c = 'x';
            Raw(c);
            if (!forbidden.empty() && out_.ends_with(forbidden)) out_.back() = 'y';
        }
    }

    void Name() {
        static const char* const kNames[] = {"root", "A",     "b",     "TRACK", "x.y-z_1",
                                             "_u",   "Číslo", "název", "Ж"};
        const char* name = kNames[Below(static_cast<int>(std::size(kNames)))];
        if (cp1250_ && std::string_view(name) == "Ж") name = "Ž";
        for (size_t pos = 0; name[pos];) Raw(DecodeUtf8(name, pos));
    }

    void Blanks() {
        for (int i = Below(3); i > 0; --i) out_ += " \n\t"[Below(3)];
    }

    void Comment() {
        out_ += "<!--";
        Plain(Below(12), "--");
        out_ += "-->";
    }

    void Instruction() {
        out_ += "<?pi";
        if (Chance(2)) {
            out_ += ' ';
            Plain(Below(10), "?>");
        }
        out_ += "?>";
    }

    void Element(int depth) {
        const size_t nameStart = out_.size() + 1;
        out_ += '<';
        Name();
        const std::string name = out_.substr(nameStart);
        std::vector<std::string> used;
        for (int i = Below(4); i > 0; --i) {
            const size_t attrStart = out_.size() + 1;
            out_ += ' ';
            Name();
            std::string attr = out_.substr(attrStart);
            if (std::find(used.begin(), used.end(), attr) != used.end()) {
                out_.resize(attrStart - 1);
                continue;
            }
            used.push_back(attr);
            if (Chance(3)) out_ += ' ';
            out_ += '=';
            const char quote = Chance(2) ? '"' : '\'';
            out_ += quote;
            Text(Below(8), quote);
            out_ += quote;
        }
        if (Chance(5)) Blanks();
        if (Chance(5)) {
            out_ += "/>";
            return;
        }
        out_ += '>';
        for (int i = Below(depth < 4 ? 6 : 2); i > 0; --i) {
            switch (Below(7)) {
                case 0:
                case 1:
                    if (depth < 5) Element(depth + 1);
                    break;
                case 2:
                    out_ += "<![CDATA[";
                    Plain(Below(10), "]]>");
                    out_ += "]]>";
                    break;
                case 3:
                    Comment();
                    break;
                case 4:
                    Instruction();
                    break;
                default:
                    Text(1 + Below(12), 0);
            }
            if (Chance(2)) Blanks();
        }
        out_ += "</" + name;
        if (Chance(5)) out_ += ' ';
        out_ += '>';
    }

    std::mt19937 random_;
    const bool cp1250_;
    std::string out_;
};

std::string Hex(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) out += Format("%02x", static_cast<unsigned char>(c));
    return out;
}

// The element tree in the form the Python script prints.
std::string Canon(TXmlNode& element, std::string_view tail) {
    std::vector<std::pair<std::string, std::string>> attrs;
    for (const XmlAttribute& attr : element.Attributes())
        attrs.emplace_back(element.NameTable()->GetName(attr.nameID), ValueToText(attr.value));
    std::sort(attrs.begin(), attrs.end());
    std::string out = "E";
    out += Hex(element.NodeName());
    out += 'A';
    for (const auto& [name, value] : attrs) out += Hex(name) + "=" + Hex(value) + ";";

    // Text and CDATA between child elements belong to the text before the first child, or to
    // the tail of the child before; comments and instructions are not part of the tree.
    std::string text;
    std::vector<std::pair<TXmlNode*, std::string>> children;
    IXmlNodeList list = element.ChildNodes();
    for (int i = 0; i < list->Count(); ++i) {
        IXmlNode child = list->Item(i);
        std::string& target = children.empty() ? text : children.back().second;
        if (child->NodeType() == kXmlTextNode) target += child->Text();
        if (child->NodeType() == kXmlCDATASectionNode) target += child->AsCDATASection()->Data();
        if (child->NodeType() == kXmlElementNode) children.emplace_back(child.Get(), "");
    }
    out += 'T';
    out += Hex(text);
    for (auto& [child, childTail] : children) out += Canon(*child, childTail);
    return out + "/t" + Hex(tail);
}

std::string OursCanon(const std::string& path, bool preserve) {
    IXmlDocument doc = MakeXmlDocument();
    doc->SetPreserveWhiteSpace(preserve);
    doc->Load(path);
    return Canon(*doc->DocumentElement(), "");
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

class XmlDifferential : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kDocuments; ++i) {
            const std::string path = dir_ / Format("doc%03d.xml", i);
            test::WriteFileBytes(path, DocumentGenerator(1000 + i, i % 3 == 0).Make());
            originals_.push_back(path);
            saved_.push_back(dir_ / Format("saved%03d.xml", i));
        }
    }

    test::TempDir dir_;
    std::vector<std::string> originals_, saved_;
};

// The element trees ElementTree reads from the files, one line per file.
std::vector<std::string> PythonCanons(const std::vector<std::string>& files) {
    std::vector<std::string> argv = {kPython,
                                     test::SourcePath("medialib/xml/tests/etree_canon.py")};
    argv.insert(argv.end(), files.begin(), files.end());
    const test::ProcessResult python = test::RunProcess(argv);
    EXPECT_EQ(python.exitCode, 0) << python.err;
    return Lines(python.out);
}

TEST_F(XmlDifferential, SameElementTreeAsPythonsElementTree) {
    if (::access(kPython, X_OK) != 0) GTEST_SKIP() << kPython << " is not installed";
    const std::vector<std::string> expected = PythonCanons(originals_);
    ASSERT_EQ(expected.size(), originals_.size());
    for (size_t i = 0; i < originals_.size(); ++i)
        EXPECT_EQ(OursCanon(originals_[i], true), expected[i])
            << originals_[i] << "\n"
            << test::ReadFileBytes(originals_[i]);
}

// What we write, other readers read as we do: every value, CR, TAB and LF included (the files
// are saved keeping white space, so that no layout is added to the texts).
TEST_F(XmlDifferential, ElementTreeAndXmllintReadOurFilesAsWeDo) {
    for (size_t i = 0; i < originals_.size(); ++i) {
        IXmlDocument doc = MakeXmlDocument();
        doc->SetPreserveWhiteSpace(true);
        doc->Load(originals_[i]);
        doc->Save(saved_[i]);
    }
    if (::access(kPython, X_OK) == 0) {
        const std::vector<std::string> python = PythonCanons(saved_);
        ASSERT_EQ(python.size(), saved_.size());
        for (size_t i = 0; i < saved_.size(); ++i)
            EXPECT_EQ(python[i], OursCanon(originals_[i], true)) << saved_[i] << "\n"
                                                                 << test::ReadFileBytes(saved_[i]);
    }
    RV_REQUIRE_TOOL("xmllint");
    for (size_t i = 0; i < saved_.size(); ++i) {
        // The canonical form (UTF-8, references resolved, sections as text) of both files.
        const test::ProcessResult original = test::RunProcess({"xmllint", "--c14n", originals_[i]});
        const test::ProcessResult saved = test::RunProcess({"xmllint", "--c14n", saved_[i]});
        ASSERT_EQ(saved.exitCode, 0) << saved.err;
        EXPECT_EQ(saved.out, original.out) << saved_[i];
    }
}

TEST_F(XmlDifferential, SavedFilesKeepTheTreeAndPassXmllint) {
    RV_REQUIRE_TOOL("xmllint");
    for (size_t i = 0; i < originals_.size(); ++i) {
        IXmlDocument doc = MakeXmlDocument();
        doc->Load(originals_[i]);
        doc->Save(saved_[i]);
        EXPECT_EQ(OursCanon(saved_[i], false), OursCanon(originals_[i], false)) << originals_[i];
    }
    std::vector<std::string> argv = {"xmllint", "--noout"};
    argv.insert(argv.end(), saved_.begin(), saved_.end());
    const test::ProcessResult lint = test::RunProcess(argv);
    EXPECT_EQ(lint.exitCode, 0) << lint.err;
    EXPECT_EQ(lint.err, "");
}

}  // namespace
}  // namespace rv
