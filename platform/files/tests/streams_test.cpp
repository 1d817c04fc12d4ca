#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files/atomic_file.h"
#include "platform/files/streams.h"

namespace rv {
namespace {

TEST(MemoryStream, WritesGrowReadsStopAtTheEndSeeksClamp) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Seek(-2, soEnd), 4);
    char buffer[8] = {};
    EXPECT_EQ(s.Read(buffer, 8), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(s.Read(buffer, 1), 0u);
    EXPECT_THROW(s.ReadBuffer(buffer, 1), EReadError);
    EXPECT_EQ(s.Seek(-100, soCurrent), 0);  // before the start is the start
    // Past the end: a write there fills the gap with zeros.
    s.SetPosition(8);
    s.WriteBuffer("z", 1);
    EXPECT_EQ(s.Bytes(), std::string("abcdef\0\0z", 9));
    s.SetSize(3);
    EXPECT_EQ(s.Bytes(), "abc");
    EXPECT_THROW(s.SetSize(-1), EStreamError);
}

// Writers that place small pieces by pointer: room at the position (past the end a zero gap
// first), overwriting inside only, and long runs that grow the block many times.
TEST(MemoryStream, ExtendsAtThePositionAndOverwritesInside) {
    TMemoryStream s;
    std::memcpy(s.Extend(3), "abc", 3);
    EXPECT_EQ(s.Cursor(), 3u);
    s.SetPosition(1);
    std::memcpy(s.Extend(3), "XYZ", 3);
    EXPECT_EQ(s.Bytes(), "aXYZ");
    s.SetPosition(6);
    *s.Extend(1) = 'q';
    EXPECT_EQ(s.Bytes(), std::string("aXYZ\0\0q", 7));
    s.Overwrite(0, "A", 1);
    EXPECT_EQ(s.Bytes(), std::string("AXYZ\0\0q", 7));
    EXPECT_THROW(s.Overwrite(6, "zz", 2), EWriteError);
    EXPECT_EQ(s.Cursor(), 7u);

    TMemoryStream big;
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        const std::string piece = std::to_string(i) + ",";
        big.WriteBuffer(piece.data(), piece.size());
        expected += piece;
    }
    EXPECT_EQ(big.Bytes(), expected);
    big.SetSize(3);
    big.SetSize(5);  // lengthened with zeros
    EXPECT_EQ(big.Bytes(), std::string("0,1\0\0", 5));
    big.Clear();
    EXPECT_EQ(big.Size(), 0);
    EXPECT_EQ(big.Position(), 0);

    // Past a few megabytes the block's pages come from the system; the bytes stay as written.
    TMemoryStream huge;
    for (std::uint32_t i = 0; i < (3u << 20); ++i) {
        const std::uint32_t word = i * 2654435761u;
        std::memcpy(huge.Extend(4), &word, 4);
    }
    ASSERT_EQ(huge.Size(), std::int64_t(12) << 20);
    bool same = true;
    for (std::uint32_t i = 0; i < (3u << 20); i += 4099) {
        std::uint32_t word;
        std::memcpy(&word, huge.Memory() + std::size_t(i) * 4, 4);
        same = same && word == i * 2654435761u;
    }
    EXPECT_TRUE(same);
    huge.SetSize(std::int64_t(20) << 20);
    EXPECT_EQ(huge.Memory()[(std::size_t(20) << 20) - 1], 0);
}

TEST(MemoryStream, ReadOnlyViewRefusesWrites) {
    const char data[] = "xyz";
    TReadOnlyMemoryStream s(data, 3);
    char c = 0;
    s.ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'x');
    try {
        s.WriteBuffer("a", 1);
        FAIL();
    } catch (const EStreamError& e) {
        EXPECT_STREQ(e.what(), "Can't write to a read-only resource stream");
    }
    EXPECT_THROW(s.SetSize(1), EStreamError);
}

TEST(FileReadStream, ReadsByPositionAndNamesAFileItCannotOpen) {
    const std::string path = ::testing::TempDir() + "streams_test.bin";
    ReplaceFileAtomically(path, "0123456789");
    TFileReadStream s(path);
    EXPECT_EQ(s.Size(), 10);
    s.SetPosition(7);
    char buffer[5] = {};
    EXPECT_EQ(s.Read(buffer, 5), 3u);
    EXPECT_EQ(std::string(buffer, 3), "789");
    EXPECT_THROW(s.WriteBuffer("a", 1), EStreamError);
    std::remove(path.c_str());
    EXPECT_THROW(TFileReadStream(path + ".missing"), EFOpenError);
}

}  // namespace
}  // namespace rv
