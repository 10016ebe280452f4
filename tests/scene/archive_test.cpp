#include "scene/archive.h"

#include "tests/support/archive_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

ByteVector StoreString(const std::string& s) {
    CArchive ar;
    ar.StoreString(s);
    return ar.TakeStoredBytes();
}

std::string LoadStringFrom(const ByteVector& bytes) {
    CArchive ar(bytes);
    std::string s = ar.LoadString("text");
    EXPECT_EQ(ar.GetRemaining(), 0u);
    return s;
}

TEST(Archive, PrimitivesHaveTheirGoldenBytes) {
    CArchive ar;
    ar.StoreInt32(-1);
    ar.StoreDouble(1.0);
    ar.StoreWord(0x1234);
    ar.StoreInt32(0x01020304);
    const std::uint8_t block[3] = {9, 8, 7};
    ar.StoreBlock(block, 3);
    ar.StoreCount(2);
    EXPECT_EQ(ar.TakeStoredBytes(), Hex("FF FF FF FF  00 00 00 00 00 00 F0 3F  34 12  04 03 02 01"
                                        "  09 08 07  02 00 00 00"));
}

TEST(Archive, PrimitivesLoadWhatTheGoldenBytesSay) {
    const ByteVector bytes = Hex("FF FF FF FF  00 00 00 00 00 00 F0 3F  34 12  09 08 07");
    CArchive ar(bytes);
    EXPECT_TRUE(ar.IsLoading());
    EXPECT_EQ(ar.LoadInt32("a"), -1);
    EXPECT_EQ(ar.LoadDouble("b"), 1.0);
    EXPECT_EQ(ar.LoadWord("c"), 0x1234);
    std::uint8_t block[3] = {};
    ar.LoadBlock(block, 3, "d");
    EXPECT_EQ(block[0], 9);
    EXPECT_EQ(block[2], 7);
    EXPECT_EQ(ar.GetPosition(), 17u);
    EXPECT_EQ(ar.GetRemaining(), 0u);
}

TEST(Archive, StringPrefixesAtTheirLimits) {
    struct Case {
        std::size_t length;
        ByteVector prefix;
    };
    const Case cases[] = {
        {0, Hex("00")},
        {5, Hex("05")},
        {254, Hex("FE")},
        {255, Hex("FF FF 00")},
        {65533, Hex("FF FD FF")},
        {65534, Hex("FF FF FF FE FF 00 00")},
        {70000, Hex("FF FF FF 70 11 01 00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        if (!text.empty())
            text.back() = 'y';
        const ByteVector bytes = StoreString(text);
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin()));
        EXPECT_EQ(bytes.back() == 'y', c.length > 0);
        EXPECT_EQ(LoadStringFrom(bytes), text);
    }
}

TEST(Archive, Utf16StringsAreReadAsUtf8) {
    // "hé€" and U+1F600 as a surrogate pair.
    EXPECT_EQ(LoadStringFrom(Hex("FF FE FF 05  68 00 E9 00 AC 20 3D D8 00 DE")),
              "h\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    // Long form of the second prefix: 0xFF then a word count.
    ByteVector longForm = Hex("FF FE FF FF 2C 01");
    for (int i = 0; i < 300; ++i) {
        longForm.push_back('a');
        longForm.push_back(0);
    }
    EXPECT_EQ(LoadStringFrom(longForm), std::string(300, 'a'));
    // Unpaired surrogates become U+FFFD.
    EXPECT_EQ(LoadStringFrom(Hex("FF FE FF 02  00 DC 3D D8")), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(LoadStringFrom(Hex("FF FE FF 00")), "");
}

TEST(Archive, EndOfDataNamesTheFieldAndOffset) {
    const ByteVector bytes = Hex("01 00 00 00  02 00");
    CArchive ar(bytes);
    EXPECT_EQ(ar.LoadInt32("first"), 1);
    try {
        ar.LoadInt32("part colour");
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetOffset(), 4u);
        EXPECT_NE(std::string(e.what()).find("part colour"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("byte offset 4"), std::string::npos) << e.what();
    }
}

TEST(Archive, LengthsAndCountsBeyondTheDataThrowBeforeAllocating) {
    // A string claiming 2^31-1 bytes in a 7-byte buffer.
    EXPECT_THROW(LoadStringFrom(Hex("FF FF FF FF FF FF 7F")), CArchiveException);
    EXPECT_THROW(LoadStringFrom(Hex("FF FE FF FF FF FF FF FF FF 7F")), CArchiveException);
    EXPECT_THROW(LoadStringFrom(Hex("05 61 62")), CArchiveException);
    {
        const ByteVector bytes = Hex("FF FF FF 7F  00 00 00 00 00 00 00 00");
        CArchive ar(bytes);
        EXPECT_THROW(ar.LoadCount("points", 28), CArchiveException);
    }
    {
        // Exactly enough bytes for the claimed records passes.
        ByteVector bytes = Hex("02 00 00 00");
        bytes.resize(4 + 2 * 28);
        CArchive ar(bytes);
        EXPECT_EQ(ar.LoadCount("points", 28), 2);
    }
    {
        const ByteVector bytes = Hex("FE FF FF FF");
        CArchive ar(bytes);
        EXPECT_EQ(ar.LoadCount("points", 28), -2);
    }
}

TEST(Archive, TransferFollowsTheDirection) {
    std::int32_t i = 7;
    std::uint16_t w = 9;
    double d = 2.5;
    std::string s = "abc";
    CArchive out;
    EXPECT_TRUE(out.IsStoring());
    out.Transfer(i, "i");
    out.Transfer(w, "w");
    out.Transfer(d, "d");
    out.Transfer(s, "s");
    const ByteVector bytes = out.TakeStoredBytes();
    EXPECT_EQ(bytes, ByteBuilder().I32(7).W(9).D(2.5).S("abc").Bytes());
    std::int32_t i2 = 0;
    std::uint16_t w2 = 0;
    double d2 = 0;
    std::string s2;
    CArchive in(bytes);
    in.Transfer(i2, "i");
    in.Transfer(w2, "w");
    in.Transfer(d2, "d");
    in.Transfer(s2, "s");
    EXPECT_EQ(std::tie(i2, w2, d2, s2), std::tie(i, w, d, s));
}

// Values straddling the 64 KiB file blocks, written and read through descriptors.
TEST(Archive, FileArchiveCrossesBlockBoundaries) {
    char name[] = "/tmp/qr_archive_testXXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    {
        CArchive ar(fd, CArchive::store, name);
        ar.StoreBlock(std::string(65535, 'z').data(), 65535);
        for (std::int32_t i = 0; i < 40000; ++i) {
            ar.StoreInt32(i);
            ar.StoreDouble(i * 0.5);
        }
        ar.StoreString(std::string(100000, 'q'));
        ar.Flush();
    }
    ASSERT_EQ(lseek(fd, 0, SEEK_SET), 0);
    {
        CArchive ar(fd, CArchive::load, name);
        EXPECT_EQ(ar.GetRemaining(), 65535u + 40000u * 12u + 7u + 100000u);
        std::string skip(65535, '\0');
        ar.LoadBlock(skip.data(), skip.size(), "skip");
        bool same = true;
        for (std::int32_t i = 0; i < 40000; ++i) {
            same = same && ar.LoadInt32("i") == i;
            same = same && ar.LoadDouble("d") == i * 0.5;
        }
        EXPECT_TRUE(same);
        EXPECT_EQ(ar.LoadString("s"), std::string(100000, 'q'));
        try {
            ar.LoadWord("after the end");
            FAIL() << "no exception";
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
    }
    close(fd);
    unlink(name);
}

} // namespace
