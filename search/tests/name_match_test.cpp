#include "search/name_match.h"

#include <gtest/gtest.h>

#include "search/target_search.h"

namespace rv {
namespace {

bool Match(const char* name, const char* mask) {
    return NameMask(mask).Matches(name);
}

TEST(NameMask, ComparesExtensionsAndBasesWithoutAsciiCase) {
    EXPECT_TRUE(Match("a.mp3", "*.MP3"));
    EXPECT_TRUE(Match("A.Mp3", "*.MP3"));
    EXPECT_TRUE(Match("a.b.mp3", "*.mp3"));
    EXPECT_TRUE(Match(".mp3", "*.mp3"));
    EXPECT_FALSE(Match("mp3", "*.mp3"));
    EXPECT_FALSE(Match("a.mp3x", "*.mp3"));
    EXPECT_FALSE(Match("a.mp3.bak", "*.mp3"));
    EXPECT_TRUE(Match("x.MP+", "*.mp+"));
    // Only A-Z fold: other bytes compare as they are.
    EXPECT_TRUE(Match("\xC3\xA9t\xC3\xA9.ogg", "\xC3\xA9T\xC3\xA9.OGG"));
    EXPECT_FALSE(Match("\xC3\xA9t\xC3\xA9.ogg", "\xC3\x89T\xC3\x89.OGG"));
}

TEST(NameMask, MaskWithoutExtensionLooksAtTheBaseOnly) {
    EXPECT_TRUE(Match("song.mp3", "song"));
    EXPECT_TRUE(Match("song.txt", "SONG"));
    EXPECT_FALSE(Match("songs.txt", "song"));
    // A name without extension has the extension ".".
    EXPECT_TRUE(Match("README", "*.*"));
    EXPECT_TRUE(Match("README", "readme."));
    EXPECT_FALSE(Match("README.txt", "readme."));
}

TEST(NameMask, StarMatchesAnyRunAndQuestionMarkOneCharacter) {
    EXPECT_TRUE(Match("my live set.mp3", "*live*.mp3"));
    EXPECT_TRUE(Match("live.mp3", "*live*.mp3"));
    EXPECT_FALSE(Match("studio.mp3", "*live*.mp3"));  // "*" is not "everything from here on"
    EXPECT_FALSE(Match("b", "*x"));
    EXPECT_TRUE(Match("aaab", "*ab"));
    EXPECT_TRUE(Match("abc", "a*b*c*"));
    EXPECT_TRUE(Match("ab", "ab?"));
    EXPECT_TRUE(Match("abc", "ab?"));
    EXPECT_FALSE(Match("abcd", "ab?"));
    EXPECT_TRUE(Match("\xC3\xA9.mp3", "?.mp3"));  // one character, two bytes
    EXPECT_TRUE(Match("x\xC3\xA9y.mp3", "*\xC3\xA9?.mp3"));
    EXPECT_FALSE(Match("ab.mp3", "?.mp3"));
}

TEST(SplitList, KeepsInnerEmptyPiecesButNotATrailingOne) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitList(""), V{});
    EXPECT_EQ(SplitList("a"), V{"a"});
    EXPECT_EQ(SplitList("a;;b"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitList("a;b;"), (V{"a", "b"}));
    EXPECT_EQ(SplitList(";"), V{""});
}

}  // namespace
}  // namespace rv
