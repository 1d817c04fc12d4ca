#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "cd/site.h"

namespace rv {
namespace {

TServer Site(std::string address, TServerType type, int port, std::string cgi,
             std::string latitude = "", std::string longitude = "", std::string description = "") {
    return {address, cgi, type, port, {latitude, longitude, description}};
}

TEST(SiteText, WrittenAndReadBackByWords) {
    const TServer server = Site("cddb.example.net", TServerType::HTTP, 80, "/~cddb/cddb.cgi",
                                "N000.00", "W000.00", "Random server");
    const std::string text = SiteToStr(server);
    EXPECT_EQ(text, "cddb.example.net http 80 /~cddb/cddb.cgi N000.00 W000.00 Random server");
    EXPECT_EQ(StrToSite(text), Site("cddb.example.net", TServerType::HTTP, 80, "/~cddb/cddb.cgi",
                                    "N000.00", "W000.00", "Random"));
    EXPECT_EQ(SiteToStr(Site("h", TServerType::CDDBP, 8880, "-")), "h cddbp 8880 -   ");

    // The stored default ends in a blank: an empty description.
    EXPECT_EQ(StrToSite("cddb.example.net http 80 /~cddb/cddb.cgi N000.00 W000.00 "),
              Site("cddb.example.net", TServerType::HTTP, 80, "/~cddb/cddb.cgi", "N000.00",
                   "W000.00", ""));
    EXPECT_EQ(StrToSite("h HtTp 81 /cgi"), Site("h", TServerType::HTTP, 81, "/cgi"));
    EXPECT_EQ(StrToSite("h ftp 81"), Site("h", TServerType::CDDBP, 81, ""));
    // Reading stops at a port that is no number.
    EXPECT_EQ(StrToSite("h http eighty /cgi N W d"), Site("h", TServerType::HTTP, 0, ""));
    EXPECT_EQ(StrToSite("h http"), Site("h", TServerType::HTTP, 0, ""));
    EXPECT_EQ(StrToSite(""), TServer{});
    // Commas separate too, two separators hold an empty word, quotes group.
    EXPECT_EQ(StrToSite("h,http,82,/c"), Site("h", TServerType::HTTP, 82, "/c"));
    EXPECT_EQ(StrToSite("h  http 80"), Site("h", TServerType::CDDBP, 0, ""));
    EXPECT_EQ(StrToSite("\"a\"\"b\" http 83 \"/x y\""),
              Site("a\"b", TServerType::HTTP, 83, "/x,y"));
    EXPECT_EQ(StrToSite("\"open http 84"), Site("open,http,84", TServerType::CDDBP, 0, ""));
}

TEST(SiteText, ServerSiteLinesKeepTheWholeDescriptionAndMalformedOnesAreSkipped) {
    EXPECT_EQ(SiteFromServerLine(
                  "cddb.example.net http 80 /~cddb/cddb.cgi N037.21 W121.55 Santa Clara, CA USA"),
              Site("cddb.example.net", TServerType::HTTP, 80, "/~cddb/cddb.cgi", "N037.21",
                   "W121.55", "Santa Clara, CA USA"));
    EXPECT_EQ(SiteFromServerLine("cddb.example.net CDDBP 8880 - N037.21 W121.55"),
              Site("cddb.example.net", TServerType::CDDBP, 8880, "-", "N037.21", "W121.55", ""));
    // A NUL inside a field is kept when the site is written again.
    using namespace std::string_literals;
    const auto withNul = SiteFromServerLine("h http 80 /c N\0x W d e"s);
    ASSERT_TRUE(withNul.has_value());
    EXPECT_EQ(withNul->Location.Latitude, "N\0x"s);
    EXPECT_EQ(SiteToStr(*withNul), "h http 80 /c N\0x W d e"s);
    EXPECT_EQ(SiteFromServerLine(SiteToStr(*withNul)), withNul);

    for (const char* line :
         {"", "h http", "h http 80 /cgi N037.21", "h http eighty /cgi N W d", " http 80 /cgi N W d",
          "h http 99999999999 /cgi N W d", "h http 12345678901234567890 /cgi N W d",
          "h http 0 /cgi N W d", "h http 65536 /cgi N W d", "h http -80 /cgi N W d"}) {
        EXPECT_EQ(SiteFromServerLine(line), std::nullopt) << line;
    }
}

}  // namespace
}  // namespace rv
