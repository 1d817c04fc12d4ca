#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "library_text.h"
#include "medialib/media_lib.h"
#include "medialib/media_lib_error.h"
#include "medialib/xml/binary_codec.h"
#include "medialib/xml/simple_xml.h"
#include "testsupport/file_size_limit.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"
#include "xmllint_check.h"

namespace rv {
namespace {

using test::TempDir;

const std::string kGolden = test::TestDataPath("medialib/library.rvl");

// The library of testdata/medialib/library.rvl.
void FillGoldenLibrary(TMediaLib& lib) {
    lib.SetLibraryName("Rock & Roll");
    const char* mp3 = "MPEG 1 Layer III";
    lib.AddTrack({1, "Largo \u2013 \u0416\u0438\u0437\u043d\u044c",
                  "Dvo\u0159\u00e1k & \"Friends\"", "Symfonie \u010d. 9", "", 1893, 725.25, 0,
                  "Stereo", "CD Audio", 0});
    lib.AddTrack(
        {2, "Dancing Queen", "ABBA", "Arrival", "Pop", 1976, 245.5, 192, "Joint Stereo", mp3, 1});
    lib.AddTrack({1, "When I Kissed the Teacher", "ABBA", "Arrival", "Pop", 1976, 180, 192,
                  "Joint Stereo", mp3, 1});
    lib.AddTrack({1, "Waterloo", "ABBA", "Waterloo", "Pop", 1974, 168.75, 160, "Stereo", mp3, 1});
}

// A library file named "Stored" holding `artists`, under the root `root` of version `version`.
std::string LibraryText(const std::string& artists, const std::string& version = "1.0",
                        const std::string& root = "Lorvix_Media_Library") {
    return "<?xml version=\"1.0\" encoding=\"windows-1250\"?><" + root + " version=\"" + version +
           "\"><LIBRARY_NAME>Stored</LIBRARY_NAME>" + artists + "</" + root + ">";
}

TEST(LibraryFile, SavesTheGoldenFileAndLoadsItBack) {
    TempDir dir;
    TMediaLib lib;
    FillGoldenLibrary(lib);
    const std::string path = dir / "out.rvl";
    lib.SaveToFile(path);
    EXPECT_EQ(test::ReadFileBytes(path), test::ReadFileBytes(kGolden));
    EXPECT_FALSE(lib.Modified());
    EXPECT_EQ(lib.FileName(), path);

    TMediaLib loaded;
    loaded.LoadFromFile(kGolden);
    EXPECT_EQ(loaded.Artists(), lib.Artists());
    EXPECT_FALSE(loaded.Modified());
    EXPECT_EQ(loaded.FileName(), kGolden);
    loaded.SaveToFile(dir / "again.rvl");  // the name and the counts are in the file too
    EXPECT_EQ(test::ReadFileBytes(dir / "again.rvl"), test::ReadFileBytes(kGolden));

    RV_REQUIRE_TOOL("xmllint");
    test::ExpectWellFormed(path);
    EXPECT_EQ(test::XPathText(path, "/Lorvix_Media_Library/ARTIST[1]/Name"),
              "Dvo\u0159\u00e1k & \"Friends\"");
    EXPECT_EQ(test::XPathText(path, "//TRACK[1]/TITLE"),
              "Largo \u2013 \u0416\u0438\u0437\u043d\u044c");
    EXPECT_EQ(test::XPathText(path, "//ARTIST[2]/ALBUM[1]/TRACK[1]/DURATION"), "245.5");
}

TEST(LibraryFile, NamesInAnyScriptAndFractionsUnderACommaLocaleRoundTrip) {
    TempDir dir;
    TMediaLib lib;
    lib.AddTrack(test::Track("\u041a\u0438\u043d\u043e", "\u0393\u03ac\u03bc\u03bf\u03c2",
                             "\u6625\u306e\u6d77 \U0001F3B5", 1, 245.5));
    lib.AddTrack(test::Track("x", "y", "z", 2, 3.3));
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    const std::string path = dir / "script.rvl";
    lib.SaveToFile(path);
    const std::string bytes = test::ReadFileBytes(path);
    EXPECT_NE(bytes.find("<DURATION>245.5</DURATION>"), std::string::npos);
    EXPECT_NE(bytes.find("<LIBRARY_NAME/>"), std::string::npos);
    EXPECT_NE(bytes.find("&#x41A;"), std::string::npos);
    for (const char* locale : {"de_DE.UTF-8", "C"}) {
        std::setlocale(LC_NUMERIC, locale);
        TMediaLib loaded;
        loaded.LoadFromFile(path);
        EXPECT_EQ(loaded.Artists(), lib.Artists()) << locale;
    }
    RV_REQUIRE_TOOL("xmllint");
    test::ExpectWellFormed(path);
    EXPECT_EQ(test::XPathText(path, "//ALBUM[1]/TRACK[1]/TITLE"), "\u6625\u306e\u6d77 \U0001F3B5");
}

TEST(LibraryFile, ReadingToleratesWhatOtherWritersDoAndTheBinaryFormLoadsAlike) {
    TempDir dir;
    const std::string path = dir / "other.rvl";
    const std::string longTitle(300, 'x');
    test::WriteFileBytes(
        path, LibraryText("<!-- note --><EXTRA/><artist><NAME>A</NAME><Album><GENRE>G</GENRE>"
                          "<TITLE>" +
                              longTitle +
                              "</TITLE><RELEASE>99999</RELEASE><TITLE>ignored</TITLE>"
                              "<TIME>245,5</TIME><TRACK><FORMAT>F</FORMAT><CHANNEL_MODE>M"
                              "</CHANNEL_MODE><BITRATE>abc</BITRATE><DURATION>2.5</DURATION>"
                              "<ID>258</ID><TITLE>T</TITLE><x/></TRACK></Album></artist>",
                          "1.0", "lorvix_media_LIBRARY"));
    TMediaLib lib;
    lib.LoadFromFile(path);
    ASSERT_EQ(test::Dump(lib), "A:" + longTitle.substr(0, 255) + "(T)");
    const TAlbum& album = lib.AlbumRef(0, 0);
    EXPECT_EQ(album.MediaType, 1);  // missing: audio files
    EXPECT_EQ(album.Time, 245.5);   // a comma, as older versions wrote under some locales
    EXPECT_EQ(album.Release, 99999 & 0xFFFF);
    const TTrack& track = lib.TrackRef(0, 0, 0);
    EXPECT_EQ(track.ID, 258 & 0xFF);
    EXPECT_EQ(track.Bitrate, 0);
    EXPECT_EQ(track.Duration, 2.5);
    EXPECT_EQ(lib.LibraryName(), "Stored");

    test::WriteFileBytes(path, "<Lorvix_Media_Library version='1.0'/>");
    lib.LoadFromFile(path);
    EXPECT_EQ(lib.GetArtistCount(), 0);
    EXPECT_EQ(lib.LibraryName(), "Stored");  // no name in the file: the old one stays

    // A value's text is joined from its parts, whatever stands between them.
    test::WriteFileBytes(
        path, LibraryText("<ARTIST><NAME> A <!-- c --><![CDATA[  B  ]]><x>C<y/><?pi z?>D</x>"
                          "</NAME><ALBUM><TITLE><![CDATA[]]>T</TITLE><GENRE/><RELEASE><!-- "
                          "year -->1976</RELEASE><TIME><![CDATA[ 1.5 ]]></TIME><TRACK><ID>1<b>2"
                          "</b></ID><TITLE>&lt;<i>\xe8</i>&#x416;</TITLE><DURATION>2</DURATION>"
                          "<BITRATE>3</BITRATE><CHANNEL_MODE/><FORMAT/></TRACK></ALBUM></ARTIST>"));
    lib.LoadFromFile(path);
    EXPECT_EQ(lib.ArtistRef(0).Name, " A  B C D");
    EXPECT_EQ(lib.AlbumRef(0, 0).Title, "T");
    EXPECT_EQ(lib.AlbumRef(0, 0).Release, 1976);
    EXPECT_EQ(lib.AlbumRef(0, 0).Time, 1.5);
    EXPECT_EQ(lib.TrackRef(0, 0, 0).ID, 0);  // "1 2" is no number
    EXPECT_EQ(lib.TrackRef(0, 0, 0).Title, "< \u010d \u0416");

    // The golden library in the binary form, with typed values where the text form has texts.
    const IXmlDocument doc = MakeXmlDocument();
    doc->Load(kGolden);
    TXmlNode& first =
        *doc->DocumentElement()->NeedChild("ARTIST")->NeedChild("ALBUM")->NeedChild("TRACK");
    first.NeedChild("DURATION")->SetNodeValue(XmlValue::Float64(725.25));
    first.NeedChild("ID")->SetNodeValue(XmlValue::Int32(1));
    doc->SaveBinary(dir / "binary.rvl", kBinaryXmlWideStrings);
    TMediaLib golden, binary;
    golden.LoadFromFile(kGolden);
    binary.LoadFromFile(dir / "binary.rvl");
    EXPECT_EQ(binary.Artists(), golden.Artists());
    EXPECT_EQ(binary.LibraryName(), golden.LibraryName());

    // A file that is no library fails at its root, whatever follows.
    test::WriteFileBytes(path, "<Library version=\"1.0\"><unfinished");
    EXPECT_THROW(lib.LoadFromFile(path), EMediaLibError);
}

// Other XML readers see CR, TAB and LF in our texts as we do.
TEST(LibraryFile, LineBreaksAndTabsInTextsReadAlikeEverywhere) {
    TempDir dir;
    const std::string path = dir / "lines.rvl";
    TMediaLib lib;
    lib.SetLibraryName("Line 1\r\nLine 2");
    lib.AddTrack(test::Track("Tab\there", "Lone\rCR", "LF\nonly\r\n", 1, 1));
    lib.SaveToFile(path);
    TMediaLib loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Artists(), lib.Artists());
    EXPECT_EQ(loaded.LibraryName(), lib.LibraryName());
    RV_REQUIRE_TOOL("xmllint");
    EXPECT_EQ(test::XPathText(path, "/Lorvix_Media_Library/LIBRARY_NAME"), "Line 1\r\nLine 2");
    EXPECT_EQ(test::XPathText(path, "//ARTIST[1]/Name"), "Tab\there");
    EXPECT_EQ(test::XPathText(path, "//ALBUM[1]/TITLE"), "Lone\rCR");
    EXPECT_EQ(test::XPathText(path, "//TRACK[1]/TITLE"), "LF\nonly\r\n");
}

// A control character no XML file can hold becomes a blank wherever text enters the library, so
// that the file holds what the user sees; TAB, LF and CR, DEL and the C1 controls a file does
// hold stay as they are.
TEST(LibraryFile, ControlCharactersAFileCannotHoldAreTakenInAsBlanks) {
    TempDir dir;
    const std::string path = dir / "controls.rvl";
    TMediaLib lib;
    lib.SetLibraryName(std::string("Mine\x01\0", 6));
    TTrack track = test::Track(
        "AC\x01"
        "DC",
        "High\x1BVoltage", "T.N.T.\x7F\u0085", 1, 60);
    track.Genre = "Rock\x02";
    track.ChannelMode = "Stereo\x1F";
    track.Format = "\x03MP3";
    lib.AddTrack(track);
    EXPECT_EQ(lib.LibraryName(), "Mine  ");
    EXPECT_EQ(test::Dump(lib), "AC DC:High Voltage(T.N.T.\x7F\u0085)");
    EXPECT_EQ(lib.TrackRef(0, 0, 0).ChannelMode, "Stereo ");
    EXPECT_EQ(lib.TrackRef(0, 0, 0).Format, " MP3");
    EXPECT_EQ(lib.AlbumRef(0, 0).Genre, "Rock ");
    TFindIndex at = test::At(0, 0);
    lib.SetAlbum(at, TAlbum{.Title = "Let\x04There", .Artist = "AC DC", .Genre = "Hard\x05Rock"});
    TFindIndex artist = test::At(0);
    lib.SetArtist(artist, TArtist{.Name = "AC\x06/DC"});
    EXPECT_EQ(test::Dump(lib), "AC /DC:Let There(T.N.T.\x7F\u0085)");
    EXPECT_EQ(lib.AlbumRef(0, 0).Genre, "Hard Rock");

    lib.SaveToFile(path);
    TMediaLib loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Artists(), lib.Artists());
    EXPECT_EQ(loaded.LibraryName(), lib.LibraryName());

    // The binary form carries any character: a file of it, opened or appended, gives blanks
    // too.
    const IXmlDocument doc = MakeXmlDocument();
    doc->Load(path);
    TXmlNode& root = *doc->DocumentElement();
    root.SetChildText("LIBRARY_NAME",
                      "A\x01"
                      "B");
    TXmlNode& artistNode = *root.NeedChild("ARTIST");
    artistNode.SetChildText("Name",
                            "C\x02"
                            "D");
    TXmlNode& album = *artistNode.NeedChild("ALBUM");
    album.SetChildText("TITLE",
                       "E\x1F"
                       "F");
    album.SetChildText("GENRE", "\x0E");
    TXmlNode& trackNode = *album.NeedChild("TRACK");
    trackNode.SetChildText("TITLE", "G\x08H");
    trackNode.SetChildText("CHANNEL_MODE", "I\x0B");
    trackNode.SetChildText("FORMAT", "\x0CJ");
    doc->SaveBinary(dir / "binary.rvl", kBinaryXmlWideStrings);
    loaded.LoadFromFile(dir / "binary.rvl");
    EXPECT_EQ(loaded.LibraryName(), "A B");
    EXPECT_EQ(test::Dump(loaded), "C D:E F(G H)");
    EXPECT_EQ(loaded.AlbumRef(0, 0).Genre, " ");
    EXPECT_EQ(loaded.TrackRef(0, 0, 0).ChannelMode, "I ");
    EXPECT_EQ(loaded.TrackRef(0, 0, 0).Format, " J");
    TMediaLib appended;
    appended.Merge(loaded);
    EXPECT_EQ(test::Dump(appended), "C D:E F(G H)");
}

// An infinite or not-a-number time would show as nonsense; like any text that is no number, it
// reads as 0, in the text form and the binary one.
TEST(LibraryFile, TimesThatAreNotFiniteReadAsZero) {
    TempDir dir;
    const std::string path = dir / "odd.rvl";
    const char* const durations[] = {"nan", "NAN", "inf", "-INF", "infinity", "1e999", "2.5"};
    std::string album = "<ALBUM><TITLE>X</TITLE><RELEASE>1</RELEASE><GENRE/><TIME>NaN</TIME>";
    for (const char* duration : durations)
        album += "<TRACK><ID>1</ID><TITLE>T</TITLE><DURATION>" + std::string(duration) +
                 "</DURATION><BITRATE>1</BITRATE><CHANNEL_MODE/><FORMAT/></TRACK>";
    test::WriteFileBytes(path, LibraryText("<ARTIST><NAME>A</NAME>" + album + "</ALBUM></ARTIST>"));
    TMediaLib lib;
    lib.LoadFromFile(path);
    EXPECT_EQ(lib.AlbumRef(0, 0).Time, 0.0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(lib.TrackRef(0, 0, i).Duration, 0.0) << durations[i];
    EXPECT_EQ(lib.TrackRef(0, 0, 6).Duration, 2.5);
    lib.SaveDetailPresentation(dir / "detail.xml");
    EXPECT_NE(test::ReadFileBytes(dir / "detail.xml").find("<TIME>00:00</TIME>"),
              std::string::npos);

    const IXmlDocument doc = MakeXmlDocument();
    doc->Load(path);
    doc->DocumentElement()
        ->NeedChild("ARTIST")
        ->NeedChild("ALBUM")
        ->NeedChild("TIME")
        ->SetNodeValue(XmlValue::Float64(-std::numeric_limits<double>::infinity()));
    doc->SaveBinary(dir / "binary.rvl");
    lib.LoadFromFile(dir / "binary.rvl");
    EXPECT_EQ(lib.AlbumRef(0, 0).Time, 0.0);
}

TEST(LibraryFile, AFailedLoadLeavesEverythingAsItWas) {
    TempDir dir;
    const std::string path = dir / "bad.rvl";
    const std::string album = "<ARTIST><NAME>A</NAME><ALBUM><TITLE>X</TITLE><RELEASE>1</RELEASE>";
    const std::pair<const char*, std::string> cases[] = {
        {"missing file", ""},
        {"malformed", LibraryText("<ARTIST><NAME>A</NAME>")},
        {"no root", "<?xml version=\"1.0\"?><!-- nothing -->"},
        {"other root", "<Library version=\"1.0\"/>"},
        {"other version", LibraryText("", "1.1")},
        {"no version", "<Lorvix_Media_Library><LIBRARY_NAME/></Lorvix_Media_Library>"},
        {"artist without name", LibraryText("<ARTIST/>")},
        {"album without genre", LibraryText(album + "</ALBUM></ARTIST>")},
        {"track without format",
         LibraryText(album + "<GENRE/><TRACK><ID>1</ID><TITLE>T</TITLE><DURATION>1</DURATION>"
                             "<BITRATE>1</BITRATE><CHANNEL_MODE/></TRACK></ALBUM></ARTIST>")},
    };
    TMediaLib lib;
    FillGoldenLibrary(lib);
    lib.SaveToFile(dir / "good.rvl");
    lib.SetLibraryName("Rock & Roll");  // modified again
    const std::vector<TArtist> before = lib.Artists();
    for (const auto& [what, text] : cases) {
        SCOPED_TRACE(what);
        if (!text.empty()) test::WriteFileBytes(path, text);
        EXPECT_THROW(lib.LoadFromFile(text.empty() ? dir / "absent.rvl" : path), Exception);
        EXPECT_EQ(lib.Artists(), before);
        EXPECT_EQ(lib.LibraryName(), "Rock & Roll");
        EXPECT_EQ(lib.FileName(), dir / "good.rvl");
        EXPECT_TRUE(lib.Modified());
        EXPECT_EQ(lib.AlbumCount(), 3u);
    }
    test::WriteFileBytes(path, LibraryText("", "2.0"));
    EXPECT_THROW(lib.LoadFromFile(path), EMediaLibError);
}

TEST(LibraryFile, AFailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    TempDir dir;
    TMediaLib lib;
    FillGoldenLibrary(lib);
    EXPECT_THROW(lib.SaveToFile(dir / "no/such/folder.rvl"), Exception);
    EXPECT_TRUE(lib.Modified());
    EXPECT_EQ(lib.FileName(), "");

    const std::string path = dir / "kept.rvl";
    test::WriteFileBytes(path, "old content");
    // A file-size limit stops the write part way, as a full disk would.
    {
        test::FileSizeLimit limit(100);
        EXPECT_THROW(lib.SaveToFile(path), Exception);
    }
    EXPECT_EQ(test::ReadFileBytes(path), "old content");
    EXPECT_TRUE(lib.Modified());
    EXPECT_EQ(lib.FileName(), "");
}

}  // namespace
}  // namespace rv
