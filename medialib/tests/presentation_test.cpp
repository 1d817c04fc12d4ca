#include <gtest/gtest.h>

#include <string>

#include "medialib/library_writer.h"
#include "medialib/media_lib.h"
#include "platform/text/short_date.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"
#include "xmllint_check.h"

namespace rv {
namespace {

using test::TempDir;

class Presentation : public ::testing::Test {
protected:
    Presentation() { PinToday(CalendarDate{2003, 4, 5}); }
    ~Presentation() override { PinToday(std::nullopt); }

    TempDir dir_;
};

TEST_F(Presentation, BriefAndDetailFormsMatchTheGoldenFiles) {
    for (const bool detail : {false, true}) {
        SCOPED_TRACE(detail ? "detail" : "brief");
        TMediaLib lib;
        lib.LoadFromFile(test::TestDataPath("medialib/library.rvl"));
        const std::string path = dir_ / "out.xml";
        if (detail)
            lib.SaveDetailPresentation(path);
        else
            lib.SaveBriefPresentation(path);
        EXPECT_EQ(test::ReadFileBytes(path),
                  test::ReadFileBytes(
                      test::TestDataPath(detail ? "medialib/detail.xml" : "medialib/brief.xml")));
        EXPECT_EQ(lib.FileName(), path);
        EXPECT_FALSE(lib.Modified());
        test::ExpectWellFormed(path);
        if (test::HaveTool("xmllint")) {
            EXPECT_EQ(test::XPathText(path, "//ARTIST[2]/ALBUM/TIME"), "12:05");
        }
    }
}

// The golden files hold the C locale's short date and times of whole and rounded seconds.
TEST(PresentationTime, MinutesRoundHalvesToEvenAndTheDateFollowsTheLocale) {
    EXPECT_EQ(MinutesSeconds(0), "00:00");
    EXPECT_EQ(MinutesSeconds(59.5), "01:00");
    EXPECT_EQ(MinutesSeconds(0.5), "00:00");
    EXPECT_EQ(MinutesSeconds(3725), "62:05");
    EXPECT_EQ(MinutesSeconds(1e300), MinutesSeconds(1e15));  // no overflow
    if (!std::setlocale(LC_TIME, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    EXPECT_EQ(ShortDateText({2003, 4, 5}), "05.04.2003");
    std::setlocale(LC_TIME, "C");
}

}  // namespace
}  // namespace rv
