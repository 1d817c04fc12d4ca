#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "app/presentation.h"
#include "app/tests/app_fixture.h"
#include "app/tests/page_browser.h"
#include "platform/files/atomic_file.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using test::FileExists;
using test::ReadFileBytes;

TEST(PresentationNames, ThePageLiesBesideTheXmlAndNeverReplacesIt) {
    const struct {
        const char* xml;
        const char* page;
    } cases[] = {
        {"/out/list.xml", "/out/list.htm"},
        {"/out/Rock_Brief.XML", "/out/Rock_Brief.htm"},
        {"/out/list", "/out/list.htm"},
        {"/out.d/list", "/out.d/list.htm"},
        // The page's own extension: the page goes beside it, not over it.
        {"/out/list.htm", "/out/list.htm.htm"},
        {"/out/.htm", "/out/.htm.htm"},
    };
    for (const auto& c : cases) EXPECT_EQ(PresentationPageName(c.xml), c.page) << c.xml;
}

TEST(PresentationNames, TheNameInThePageIsOneRelativeAddress) {
    const struct {
        const char* name;
        const char* reference;
    } cases[] = {
        {"list.xml", "list.xml"},
        {"Rock_Brief-2~.xml", "Rock_Brief-2~.xml"},
        {"a\"><script>x</script>.xml", "a%22%3E%3Cscript%3Ex%3C%2Fscript%3E.xml"},
        {"R&B #1?.xml", "R%26B%20%231%3F.xml"},
        {"100%.xml", "100%25.xml"},
        {"Dvo\xC5\x99\xC3\xA1k.xml", "Dvo%C5%99%C3%A1k.xml"},
    };
    for (const auto& c : cases) EXPECT_EQ(PageReference(c.name), c.reference) << c.name;
}

TEST(PresentationNames, OnlyTheFirstPlaceholderInAnyCaseChanges) {
    const struct {
        const char* page;
        const char* filled;
    } cases[] = {
        {"<iframe src=\"%file\"></iframe>", "<iframe src=\"list.xml\"></iframe>"},
        {"%FILE and %file and %File", "list.xml and %file and %File"},
        {"a %FiLe", "a list.xml"},
        {"no placeholder", "no placeholder"},
        {"%fil%file", "%fillist.xml"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FillPageTemplate(c.page, "list.xml"), c.filled) << c.page;
    // Bytes that are no text of any kind pass through.
    const std::string binary("\0\xFF%file\r\n\0", 10);
    EXPECT_EQ(FillPageTemplate(binary, "x"), std::string("\0\xFFx\r\n\0", 6));
}

class Presentation : public test::AppTest {
protected:
    Presentation() {
        ShowLibrary();
        W().Library().SetLibraryName("Rock");
    }
    // Runs the command of the Brief (tag 0) or Detail (tag 1) item, saving as `xml` and
    // answering "Show presentation?" with `show`.
    void Save(TMenuItem* item, const std::string& xml, int show = IDNO) {
        dialogs.AnswerFiles({xml});
        dialogs.AnswerButton(show);
        item->Click();
    }
    test::TempDir out;
};

TEST_F(Presentation, BriefAndDetailWriteTheXmlAndThePageSideBySide) {
    Save(W().mmSaveBrief, out / "brief.xml");
    Save(W().mmSaveDetail, out / "detail.xml");
    const auto saves = dialogs.CallsOf(TDialogKind::Save);
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves[0].Text, "Rock_Brief");
    EXPECT_EQ(saves[1].Text, "Rock_Detail");
    EXPECT_EQ(saves[0].DefaultExt, "xml");
    EXPECT_EQ(saves[0].Filter, "XML files|*.xml|All files|*.*");

    const std::string brief = ReadFileBytes(out / "brief.xml");
    const std::string detail = ReadFileBytes(out / "detail.xml");
    EXPECT_NE(brief.find("<ALBUM_COUNT>4</ALBUM_COUNT>"), std::string::npos);
    EXPECT_EQ(brief.find("<TRACK>"), std::string::npos);
    EXPECT_NE(detail.find("<TITLE>Freddie Freeloader</TITLE>"), std::string::npos);

    // Each page is its template with the XML's name in place of the placeholder, and nothing
    // else changed.
    for (const auto& [xml, page, kind] :
         {std::tuple{"brief.xml", "brief.htm", "Reelvault.bpt"},
          std::tuple{"detail.xml", "detail.htm", "Reelvault.dpt"}}) {
        const std::string pageTemplate = ReadFileBytes(test::SourcePath("app/templates/") + kind);
        const std::size_t at = pageTemplate.find("%file");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(ReadFileBytes(out / page),
                  pageTemplate.substr(0, at) + xml + pageTemplate.substr(at + 5));
        EXPECT_NE(ReadFileBytes(out / page).find(std::string("<iframe id=\"data\" src=\"") + xml),
                  std::string::npos);
    }
    EXPECT_TRUE(dialogs.CallsOf(TDialogKind::Document).empty());
}

TEST_F(Presentation, TheWindowsLibraryKeepsItsOrderAndItsModifiedFlag) {
    TMediaLib& lib = W().Library();
    ASSERT_EQ(lib.ArtistRef(0).Name, "Davis, Miles");  // as filed, not sorted
    const std::vector<TArtist> before = lib.Artists();
    const bool modified = lib.Modified();
    const std::string fileName = lib.FileName();
    Save(W().mmSaveBrief, out / "list.xml");
    Save(W().mmSaveDetail, out / "list.xml");
    EXPECT_EQ(lib.Artists(), before);
    EXPECT_EQ(lib.Modified(), modified);
    EXPECT_EQ(lib.FileName(), fileName);
}

TEST_F(Presentation, YesOpensThePageInTheDesktopsViewerFromTheXmlsFolder) {
    W().Library().SetLibraryName("");
    Save(W().mmSaveDetail, out / "list.xml", IDYES);
    EXPECT_EQ(dialogs.CallsOf(TDialogKind::Save).at(0).Text, "_Detail");
    const auto questions = dialogs.CallsOf(TDialogKind::Message);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].Text, "Show presentation?");
    EXPECT_EQ(questions[0].Title, "Confirmation");
    const auto opened = dialogs.CallsOf(TDialogKind::Document);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].Text, out / "list.htm");
    EXPECT_EQ(opened[0].WorkingDir, out.Path());
    EXPECT_NE(ReadFileBytes(out / "list.htm").find("src=\"list.xml\""), std::string::npos);
}

TEST_F(Presentation, APageNamedLikeTheXmlIsWrittenBesideItAndTheNameIsEscaped) {
    const std::string xml = out / "a&b \"1\".htm";
    Save(W().mmSaveBrief, xml);
    EXPECT_NE(ReadFileBytes(xml).find("<Lorvix_Media_Library"), std::string::npos);
    const std::string page = ReadFileBytes(xml + ".htm");
    EXPECT_NE(page.find("src=\"a%26b%20%221%22.htm\""), std::string::npos);
}

TEST_F(Presentation, CancellingTheFileDialogWritesNothing) {
    dialogs.AnswerCancel();
    W().mmSaveBrief->Click();
    EXPECT_TRUE(dialogs.CallsOf(TDialogKind::Message).empty());
    EXPECT_TRUE(std::filesystem::is_empty(out.Path()));
}

TEST_F(Presentation, AMissingTemplateIsReportedAfterTheXmlAndNoPageIsWritten) {
    test::TempDir noTemplates;
    EXPECT_THROW(
        SavePresentation(W().Library(), PresentationKind(1), out / "list.xml", noTemplates.Path()),
        EFileError);
    EXPECT_TRUE(FileExists(out / "list.xml"));
    EXPECT_FALSE(FileExists(out / "list.htm"));
    // Any tag but 1 is the brief kind.
    EXPECT_STREQ(PresentationKind(7).TemplateName, "Reelvault.bpt");
    EXPECT_STREQ(PresentationKind(1).TemplateName, "Reelvault.dpt");
}

// The pages in a real browser: from disk the browser's own view of the XML file shows it
// (browsers let no script read it), served over HTTP the page's own table shows the library.
class PresentationInBrowser : public Presentation {
protected:
    void SetUp() override {
        const std::string missing = test::PageBrowser::Missing();
        if (!missing.empty()) GTEST_SKIP() << missing << " is not installed";
        ASSERT_EQ(test::PageBrowser::StartFailure(), "");
        TTrack t = test::MakeTrack("Dvo\xC5\x99\xC3\xA1k, Anton\xC3\xADn", "Symfonie", 1,
                                   "Largo \xD0\x96", 720);
        W().Library().AddTrack(t);
        Save(W().mmSaveBrief, out / "brief.xml");
        Save(W().mmSaveDetail, out / "list.xml");
    }
    const std::vector<std::string> artists_ = {"Abba", "Coltrane, John", "Davis, Miles",
                                               "Dvo\xC5\x99\xC3\xA1k, Anton\xC3\xADn"};
};

// How far the first printed line holding `text` is indented; -1 when no line holds it. The form
// feed that starts a new page takes the place of a blank.
int Indent(const std::string& printed, const std::string& text) {
    std::istringstream lines(printed);
    for (std::string line; std::getline(lines, line);)
        if (line.find(text) != std::string::npos)
            return static_cast<int>(line.find_first_not_of(" \f"));
    return -1;
}

// Read from disk, each artist, album and track stands on a line of its own, indented under the
// one it belongs to, and the XML is shown as the writer wrote it.
TEST_F(PresentationInBrowser, FromDiskThePageShowsTheLibraryAsAnIndentedTree) {
    for (const char* page : {"brief.htm", "list.htm"}) {
        const std::string shown = test::PageBrowser::PrintedText("file://" + out / page, true);
        for (const std::string& artist : artists_)
            EXPECT_GE(Indent(shown, "<Name>" + artist + "</Name>"), 0)
                << page << " lacks " << artist << ":\n"
                << shown;
        const int artist = Indent(shown, "<Name>Davis, Miles</Name>");
        const int album = Indent(shown, "<TITLE>Kind of Blue</TITLE>");
        EXPECT_LT(Indent(shown, "<ARTIST>"), artist) << page << ":\n" << shown;
        EXPECT_LT(artist, album) << page << ":\n" << shown;
        if (std::string(page) == "list.htm")
            EXPECT_LT(album, Indent(shown, "<TITLE>Freddie Freeloader</TITLE>")) << shown;
        else
            EXPECT_EQ(Indent(shown, "Freddie Freeloader"), -1) << shown;
    }
    EXPECT_EQ(ReadFileBytes(out / "list.xml").find("<?xml-stylesheet"), std::string::npos);
}

TEST_F(PresentationInBrowser, OverHttpThePageShowsATableOfArtistsAlbumsAndTracks) {
    test::StaticHttpServer server(out.Path());
    RV_REQUIRE_SERVER(server);
    const std::string base = "http://127.0.0.1:" + server.PortText() + "/";
    const std::string detail = test::PageBrowser::Dom(base + "list.htm");
    const std::vector<std::vector<std::string>> rows = test::TableRows(detail);
    ASSERT_FALSE(rows.empty()) << detail;
    std::vector<std::string> shownArtists;
    for (const auto& row : rows)
        if (!row.empty() && !row[0].empty()) shownArtists.push_back(row[0]);
    EXPECT_EQ(shownArtists, artists_);
    // An album row, then its tracks in the order they were filed.
    const std::vector<std::string> kindOfBlue = {
        "", "Kind of Blue", "1959", "Jazz", "Audio Files", "", "", "24:46", "", "", ""};
    const auto album = std::find(rows.begin(), rows.end(), kindOfBlue);
    ASSERT_NE(album, rows.end()) << detail;
    ASSERT_LT(album + 1, rows.end());
    EXPECT_EQ((album + 1)->at(6), "Freddie Freeloader");
    EXPECT_EQ((album + 1)->at(7), "09:46");
    EXPECT_NE(detail.find("<iframe id=\"data\" src=\"list.xml\" title=\"The library's data\" "
                          "hidden=\"\">"),
              std::string::npos);

    const std::string brief = test::PageBrowser::Dom(base + "brief.htm");
    const auto briefRows = test::TableRows(brief);
    EXPECT_EQ(briefRows.size(), artists_.size() + 5);  // an artist's row, then one per album
    EXPECT_EQ(brief.find("Freddie Freeloader"), std::string::npos);
}

}  // namespace
}  // namespace rv
