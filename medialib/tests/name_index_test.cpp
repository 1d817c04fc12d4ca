#include "medialib/name_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rv {
namespace {

TEST(NameIndex, FindsTheLowestEqualNameThroughGrowthAndRepeats) {
    // Thousands of names, each standing three times in varied letter case, so the table grows
    // many times and probes pass over slots of other names.
    std::vector<std::string> names;
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 2000; ++i)
            names.push_back((round == 1 ? "NAME " : "name ") + std::to_string(i));
    const auto nameAt = [&names](int pos) -> std::string_view { return names[pos]; };

    NameIndex index;
    EXPECT_EQ(index.Find("name 1", nameAt), -1);
    for (int pos = static_cast<int>(names.size()) - 1; pos >= 0; --pos) index.Add(pos, nameAt);
    index.MarkBuilt();
    EXPECT_TRUE(index.Built());
    for (int i = 0; i < 2000; i += 7) EXPECT_EQ(index.Find("Name " + std::to_string(i), nameAt), i);
    EXPECT_EQ(index.Find("name 2000", nameAt), -1);
    EXPECT_EQ(index.Find("name 1 ", nameAt), -1);
    EXPECT_EQ(index.Find("", nameAt), -1);

    names.push_back("");  // an empty name is a name like any other
    index.Add(static_cast<int>(names.size()) - 1, nameAt);
    EXPECT_EQ(index.Find("", nameAt), static_cast<int>(names.size()) - 1);

    index.Reset();
    EXPECT_FALSE(index.Built());
    EXPECT_EQ(index.Find("name 5", nameAt), -1);
}

}  // namespace
}  // namespace rv
