#include "search/name_match.h"

#include <gtest/gtest.h>

namespace rv {
namespace {

bool Match(const char* name, const char* mask) {
    return NameMask(mask).Matches(name);
}

TEST(NameMask, ExtensionsAndBasesMatchWithoutAsciiCaseStarIsAnyRunAndQuestionMarkOneCharacter) {
    EXPECT_TRUE(Match("A.Mp3", "*.MP3"));
    EXPECT_TRUE(Match("a.b.mp3", "*.mp3"));
    EXPECT_TRUE(Match(".mp3", "*.mp3"));
    EXPECT_FALSE(Match("mp3", "*.mp3"));
    EXPECT_FALSE(Match("a.mp3.bak", "*.mp3"));
    EXPECT_FALSE(Match("\xC3\xA9.ogg", "\xC3\x89.OGG"));  // only A-Z fold
    EXPECT_TRUE(Match("song.txt", "SONG"));               // no mask extension: base only
    EXPECT_TRUE(Match("README", "*.*"));                  // no name extension: "."
    EXPECT_FALSE(Match("README.txt", "readme."));
    EXPECT_TRUE(Match("my live set.mp3", "*live*.mp3"));
    EXPECT_FALSE(Match("studio.mp3", "*live*.mp3"));  // "*" is not "everything from here on"
    EXPECT_FALSE(Match("b", "*x"));
    EXPECT_TRUE(Match("aaab", "*ab"));
    EXPECT_TRUE(Match("ab", "ab?"));
    EXPECT_TRUE(Match("abc", "ab?"));
    EXPECT_FALSE(Match("abcd", "ab?"));
    EXPECT_TRUE(Match("x\xC3\xA9y.mp3", "x?y.mp3"));  // one character of two bytes
}

}  // namespace
}  // namespace rv
