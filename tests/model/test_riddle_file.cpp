// SPDX-License-Identifier: GPL-3.0-or-later
// Riddle files: the exact bytes, the text section's encodings, and reading
// from disk without trusting the file.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "cp1255.h"
#include "riddle_file.h"

using namespace vorlo;
namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
}

std::string Le(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
            static_cast<char>(u >> 24)};
}

// The file format's worked example, 118 bytes.
const fs::path kSample = fs::path(VORLO_SOURCE_DIR) / "tests/data/worked_example.vrl";
const char kCupText[] =
    "שנו את מקומם של שני גפרורים בלבד,\n"
    "והפכו את הכוס עם הפתח כלפי מטה.";

class TempDir : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        char pattern[] = "/tmp/vorlo-test-XXXXXX";
        dir = mkdtemp(pattern);
    }
    void TearDown() override { fs::remove_all(dir); }
};

TEST(RiddleFile, WorkedExampleLoadsAndSavesByteForByte) {
    const std::string bytes = ReadBytes(kSample);
    ASSERT_EQ(bytes.size(), 118u);
    const RiddleReadResult read = ParseRiddle(bytes);
    ASSERT_TRUE(read.ok) << read.error;
    const std::vector<Match> expected = {
        {309, 126, 90}, {209, 126, 90}, {199, 137, 0}, {258, 248, 90}};
    EXPECT_EQ(read.riddle.matches.ToVector(), expected);
    EXPECT_EQ(read.riddle.text, kCupText);
    EXPECT_EQ(SerializeRiddle(read.riddle), bytes);
}

TEST(RiddleFile, SmallFiles) {
    struct Case {
        const char* name;
        std::string bytes;
        size_t matches;
        std::string text;
    };
    const Case cases[] = {
        {"zero bytes", "", 0, ""},
        {"no matches, no text", Le(0), 0, ""},
        {"count -1: all after offset 4 is text", Le(-1) + "ab\r\ncd", 0, "ab\ncd"},
        {"most negative count", Le(INT32_MIN) + "x", 0, "x"},
        {"lone CR and LF end paragraphs too", Le(0) + "a\rb\nc\r\n", 0, "a\nb\nc\n"},
        {"one record, no text", Le(1) + Le(-5) + Le(INT32_MAX) + Le(INT32_MIN), 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RiddleReadResult read = ParseRiddle(c.bytes);
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_EQ(read.riddle.matches.Count(), c.matches);
        EXPECT_EQ(read.riddle.text, c.text);
    }
    EXPECT_EQ(SerializeRiddle(MatchList(), ""), Le(0));
}

TEST(RiddleFile, TruncatedFilesFailWithAReason) {
    struct Case {
        std::string bytes;
        std::string error;
    };
    const Case cases[] = {
        {std::string("\x01\x00", 2), "ends inside the match count"},
        {Le(2) + Le(1) + Le(2) + Le(3), "declares 2 matches but holds only 1"},
        {Le(5) + std::string(30, 'x'), "declares 5 matches but holds only 2"},
        {Le(INT32_MAX), "declares 2147483647 matches but holds only 0"},
    };
    for (const Case& c : cases) {
        const RiddleReadResult read = ParseRiddle(c.bytes);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.error, c.error);
    }
}

TEST(RiddleText, EveryByteSurvivesLoadAndSave) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            all += static_cast<char>(b);
        }
    }
    const std::string file = Le(0) + all;
    const RiddleReadResult read = ParseRiddle(file);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(SerializeRiddle(read.riddle), file);
}

TEST(RiddleText, PointedLettersStayLetterPlusPoint) {
    // Shin with a shin dot and qamats, bet with dagesh: no composed forms.
    const std::string utf8 = "\u05E9\u05C1\u05B8\u05D1\u05BC";
    const std::string encoded = EncodeRiddleText(utf8);
    EXPECT_EQ(encoded, "\xF9\xD1\xC8\xE1\xCC");
    EXPECT_EQ(DecodeRiddleText(encoded), utf8);
}

TEST(RiddleText, TextBeyondTheCodePageIsKeptAsUtf8) {
    const std::string cases[] = {
        "כוס \U0001F600",      // an emoji
        "مرحبا\nשלום",         // Arabic
        "Привет",              // Cyrillic
        "\u05DF\u00BB\u00BF",  // text whose legacy bytes would look like the UTF-8 mark
    };
    for (const std::string& text : cases) {
        const std::string encoded = EncodeRiddleText(text);
        EXPECT_EQ(encoded.substr(0, 3), "\xEF\xBB\xBF") << text;
        EXPECT_EQ(DecodeRiddleText(encoded), text);
    }
    EXPECT_EQ(EncodeRiddleText("a\nb"), "a\r\nb");
}

// The table agrees with glibc's converter for every byte it assigns.
TEST(Cp1255, AgreesWithIconv) {
    iconv_t cd = iconv_open("UTF-32LE", "CP1255");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int assigned = 0;
    for (int b = 0; b < 256; ++b) {
        char in[1] = {static_cast<char>(b)};
        char out[16] = {};
        char* inp = in;
        char* outp = out;
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        iconv(cd, nullptr, nullptr, &outp, &outLeft);  // flush a held-back base letter
        const bool iconvAssigned = r != static_cast<size_t>(-1) && outLeft == sizeof out - 4;
        EXPECT_EQ(cp1255::IsAssigned(static_cast<uint8_t>(b)), iconvAssigned) << b;
        if (iconvAssigned) {
            ++assigned;
            char32_t c;
            std::memcpy(&c, out, 4);
            EXPECT_EQ(cp1255::ToUnicode(static_cast<uint8_t>(b)), c) << b;
            EXPECT_EQ(cp1255::FromUnicode(c), static_cast<uint8_t>(b)) << b;
        } else {
            EXPECT_EQ(cp1255::FromUnicode(cp1255::ToUnicode(static_cast<uint8_t>(b))),
                      static_cast<uint8_t>(b));
        }
    }
    iconv_close(cd);
    EXPECT_EQ(assigned, 256 - 23);
}

TEST(RiddleFile, SaveOfLoadIsTheSameFile) {
    std::mt19937 rng(1255);
    for (int n = 0; n < 500; ++n) {
        const int32_t count = static_cast<int32_t>(rng() % 40);
        std::string file = Le(count);
        for (int i = 0; i < 3 * count; ++i) {
            const int32_t v = (rng() % 3 == 0) ? static_cast<int32_t>(rng())
                                               : static_cast<int32_t>(rng() % 1000) - 500;
            file += Le(v);
        }
        // Text in the form the program writes: legacy bytes, CR LF between paragraphs.
        const int length = static_cast<int>(rng() % 60);
        for (int i = 0; i < length; ++i) {
            if (rng() % 10 == 0) {
                file += "\r\n";
                continue;
            }
            char b;
            do {
                b = static_cast<char>(rng() % 256);
            } while (b == '\r' || b == '\n');
            file += b;
        }
        if (file.substr(4 + 12 * count, 3) == "\xEF\xBB\xBF") {
            continue;
        }
        const RiddleReadResult read = ParseRiddle(file);
        ASSERT_TRUE(read.ok) << read.error;
        ASSERT_EQ(SerializeRiddle(read.riddle), file);
    }
}

TEST_F(TempDir, ReadsFromDisk) {
    const RiddleReadResult sample = ReadRiddleFile(kSample.string());
    ASSERT_TRUE(sample.ok) << sample.error;
    EXPECT_EQ(sample.riddle.matches.Count(), 4u);
    EXPECT_EQ(sample.riddle.text, kCupText);

    WriteBytes(dir / "empty.vrl", "");
    EXPECT_TRUE(ReadRiddleFile((dir / "empty.vrl").string()).ok);
}

TEST_F(TempDir, RefusesWhatIsNotARiddleFile) {
    struct Case {
        std::string path;
        std::string error;
    };
    mkfifo((dir / "fifo").c_str(), 0600);
    WriteBytes(dir / "short.vrl", Le(3) + Le(1) + Le(2) + Le(3));
    const Case cases[] = {
        {(dir / "missing.vrl").string(), "No such file or directory"},
        {dir.string(), "is a folder, not a riddle file"},
        {(dir / "fifo").string(), "is not a regular file"},
        {(dir / "short.vrl").string(), "declares 3 matches but holds only 1"},
    };
    for (const Case& c : cases) {
        const RiddleReadResult read = ReadRiddleFile(c.path);
        EXPECT_FALSE(read.ok) << c.path;
        EXPECT_EQ(read.error, c.error);
    }
}

TEST_F(TempDir, AHugeDeclaredCountFailsBeforeReservingMemory) {
    // A sparse 2 GB file that declares 2^31 - 1 matches: it holds far fewer.
    const fs::path path = dir / "huge.vrl";
    WriteBytes(path, Le(INT32_MAX));
    fs::resize_file(path, uint64_t{2} << 30);
    const RiddleReadResult read = ReadRiddleFile(path.string());
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "declares 2147483647 matches but holds only 178956970");
}

TEST(RiddleFile, APreviewKeepsTheFirstMatchesAndChecksTheCount) {
    struct Case {
        const char* name;
        std::string bytes;
        size_t limit;
        std::vector<Match> kept;  // empty with `error` set when refused
        std::string error;
    };
    const std::string three =
        Le(3) + Le(1) + Le(2) + Le(3) + Le(4) + Le(5) + Le(6) + Le(7) + Le(8) + Le(9) + "text";
    const Case cases[] = {
        {"fewer than the limit", three, 5, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, ""},
        {"more than the limit", three, 2, {{1, 2, 3}, {4, 5, 6}}, ""},
        {"a limit of none", three, 0, {}, ""},
        {"the count checked beyond the limit",
         Le(INT32_MAX) + Le(1) + Le(2) + Le(3),
         1,
         {},
         "declares 2147483647 matches but holds only 1"},
        {"a text too long is not read", Le(0) + std::string(kMaxTextBytes + 1, 'x'), 10, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RiddleReadResult read = ParseRiddle(c.bytes, RiddleReadOptions{c.limit});
        EXPECT_EQ(read.ok, c.error.empty());
        EXPECT_EQ(read.error, c.error);
        EXPECT_EQ(read.riddle.matches.ToVector(), c.kept);
        EXPECT_EQ(read.riddle.text, "");
    }
}

TEST(RiddleFile, TextLongerThanARiddleHoldsIsNeitherReadNorWritten) {
    const std::string longest(kMaxTextBytes, 'x');
    const RiddleReadResult read = ParseRiddle(Le(0) + longest + "y");
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "has a text section of " + std::to_string(kMaxTextBytes + 1) +
                              " bytes, more than a riddle's text can be");
    EXPECT_TRUE(ParseRiddle(Le(0) + longest).ok);

    const MatchList one = ParseRiddle(Le(1) + Le(1) + Le(2) + Le(3)).riddle.matches;
    const std::optional<std::string> fits = SerializeSavableRiddle(one, longest);
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->size(), 4 + 12 + kMaxTextBytes);
    EXPECT_FALSE(SerializeSavableRiddle(one, longest + "y"));
}

// Files, open descriptors and memory go through the same reader: the same
// bytes give the same riddle or the same reason.
TEST_F(TempDir, FilesReadAsTheirBytes) {
    const std::string cases[] = {
        "",
        std::string("\x01\x00", 2),
        Le(2) + Le(1) + Le(2) + Le(3),
        Le(1) + Le(-5) + Le(INT32_MAX) + Le(INT32_MIN) + "ab\r\ncd",
        Le(-1) + "\xEF\xBB\xBF\xD7\xA9",
        Le(0) + std::string(kMaxTextBytes + 3, 'x'),
        ReadBytes(kSample),
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        const fs::path path = dir / "case.vrl";
        WriteBytes(path, bytes);
        const RiddleReadResult fromMemory = ParseRiddle(bytes);
        const RiddleReadResult fromFile = ReadRiddleFile(path.string());
        EXPECT_EQ(fromFile.ok, fromMemory.ok);
        EXPECT_EQ(fromFile.error, fromMemory.error);
        EXPECT_EQ(fromFile.riddle, fromMemory.riddle);

        // A descriptor is read from where it stands, as a riddle behind a
        // header of some other file would be.
        WriteBytes(path, "skip" + bytes);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::lseek(fd, 4, SEEK_SET), 4);
        const RiddleReadResult fromDescriptor = ReadRiddleDescriptor(fd);
        ::close(fd);
        EXPECT_EQ(fromDescriptor.error, fromMemory.error);
        EXPECT_EQ(fromDescriptor.riddle, fromMemory.riddle);
    }
}

}  // namespace
