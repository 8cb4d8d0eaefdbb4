// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "cp1255.h"
#include "match_record.h"

namespace vorlo {

namespace {

constexpr size_t kCountSize = 4;
// The records are read straight into the list's array of Match.
static_assert(sizeof(Match) == kMatchRecordSize && offsetof(Match, x) == 0 &&
              offsetof(Match, y) == 4 && offsetof(Match, angle) == 8);
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next character of UTF-8 text; malformed input gives U+FFFD and moves on
// by one byte.
char32_t NextUtf8(std::string_view s, size_t& i) {
    constexpr char32_t kReplacement = 0xFFFD;
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) {
        return b0;
    }
    int extra;
    char32_t c;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, c = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, c = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, c = b0 & 0x07, min = 0x10000;
    } else {
        return kReplacement;
    }
    if (s.size() - i < static_cast<size_t>(extra)) {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kReplacement;
    }
    i += extra;
    return c;
}

// Splits a text section into paragraphs: CR LF, and a lone CR or LF as well,
// end a paragraph; `decode` turns the bytes between into UTF-8.
template <typename Decode>
std::string JoinParagraphs(std::string_view bytes, Decode decode) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    size_t i = 0;
    while (i < bytes.size()) {
        const char b = bytes[i];
        if (b == '\r' || b == '\n') {
            out += '\n';
            i += (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        } else {
            AppendUtf8(out, decode(bytes, i));
        }
    }
    return out;
}

RiddleReadResult Failure(RiddleReadProblem problem, std::string message,
                         std::vector<std::string> arguments = {}) {
    RiddleReadResult result;
    result.problem = problem;
    result.error = std::move(message);
    result.arguments = std::move(arguments);
    return result;
}

// A failure the system reported through errno (or `code`).
struct SystemFailure {
    int code = 0;
    std::string message;
};

SystemFailure SystemError() {
    return {errno, std::strerror(errno)};
}

RiddleReadResult Failure(const SystemFailure& failure) {
    RiddleReadResult result = Failure(RiddleReadProblem::System, failure.message);
    result.systemError = failure.code;
    return result;
}

// Where the reader takes its bytes from: memory or an open file.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The bytes from here to the end, as far as known before reading.
    virtual uint64_t Size() const = 0;
    // Reads up to `size` bytes, fewer only at the end; none with `error` set
    // when the input cannot be read.
    virtual std::optional<size_t> Read(char* buffer, size_t size, SystemFailure* error) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    std::optional<size_t> Read(char* buffer, size_t size, SystemFailure* /*error*/) override {
        const size_t n = std::min(size, bytes_.size());
        std::memcpy(buffer, bytes_.data(), n);
        bytes_.remove_prefix(n);
        return n;
    }

private:
    std::string_view bytes_;
};

class DescriptorSource final : public ByteSource {
public:
    DescriptorSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    uint64_t Size() const override { return size_; }
    std::optional<size_t> Read(char* buffer, size_t size, SystemFailure* error) override {
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd_, buffer + done, size - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                *error = SystemError();
                return std::nullopt;
            }
            if (n == 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        return done;
    }

private:
    int fd_;
    uint64_t size_;
};

RiddleReadResult CountMismatch(int32_t count, uint64_t recordBytes) {
    const std::string declared = std::to_string(count);
    const std::string held = std::to_string(recordBytes / kMatchRecordSize);
    return Failure(RiddleReadProblem::CountMismatch,
                   "declares " + declared + " matches but holds only " + held, {declared, held});
}

RiddleReadResult TextTooLong(uint64_t size) {
    const std::string bytes = std::to_string(size);
    return Failure(RiddleReadProblem::TextTooLong,
                   "has a text section of " + bytes + " bytes, more than a riddle's text can be",
                   {bytes});
}

RiddleReadResult TextGrewTooLong() {
    const std::string limit = std::to_string(kMaxTextBytes);
    return Failure(
        RiddleReadProblem::TextGrewTooLong,
        "has a text section of more than " + limit + " bytes, more than a riddle's text can be",
        {limit});
}

// The reader: the count, the records in one piece, then the text to the end.
RiddleReadResult ReadRiddle(ByteSource& source, const RiddleReadOptions& options) {
    RiddleReadResult result;
    SystemFailure error;
    const uint64_t size = source.Size();
    uint8_t header[kCountSize];
    const std::optional<size_t> headerRead =
        source.Read(reinterpret_cast<char*>(header), kCountSize, &error);
    if (!headerRead) {
        return Failure(error);
    }
    if (*headerRead == 0) {
        result.ok = true;  // an empty file is an empty riddle
        return result;
    }
    if (*headerRead < kCountSize) {
        return Failure(RiddleReadProblem::EndsInCount, "ends inside the match count");
    }
    const int32_t count = GetLE32(header);
    const uint64_t recordBytes =
        count > 0 ? static_cast<uint64_t>(count) * kMatchRecordSize : uint64_t{0};
    // The declared count against the input's size, before anything is reserved.
    const uint64_t available = size > kCountSize ? size - kCountSize : 0;
    if (available < recordBytes) {
        return CountMismatch(count, available);
    }

    const size_t wanted = std::min(static_cast<size_t>(recordBytes / kMatchRecordSize),
                                   options.matchLimit.value_or(SIZE_MAX));
    // The records section is the list's array: one read, no copy, nothing
    // allocated per match.
    MatchList& matches = result.riddle.matches;
    const std::span<Match> records = matches.AppendUnfilled(wanted);
    const std::optional<size_t> recordsRead =
        wanted == 0 ? std::optional<size_t>(0)
                    : source.Read(reinterpret_cast<char*>(records.data()),
                                  wanted * kMatchRecordSize, &error);
    if (!recordsRead) {
        return Failure(error);
    }
    if (*recordsRead < wanted * kMatchRecordSize) {
        // The file shrank while it was read.
        return CountMismatch(count, *recordsRead);
    }
    if constexpr (std::endian::native != std::endian::little) {
        for (Match& m : records) {
            m = GetMatchRecord(reinterpret_cast<const uint8_t*>(&m));
        }
    }
    if (options.matchLimit) {
        result.ok = true;
        return result;
    }

    // The text runs to the end of the input.
    const uint64_t textBytes = available - recordBytes;
    if (textBytes > kMaxTextBytes) {
        return TextTooLong(textBytes);
    }
    std::string section(static_cast<size_t>(textBytes), '\0');
    const std::optional<size_t> got = source.Read(section.data(), section.size(), &error);
    if (!got) {
        return Failure(error);
    }
    section.resize(*got);
    // A file that grew while it was read: what came after its size was taken.
    char chunk[65536];
    for (;;) {
        const std::optional<size_t> more = source.Read(chunk, sizeof chunk, &error);
        if (!more) {
            return Failure(error);
        }
        section.append(chunk, *more);
        if (section.size() > kMaxTextBytes) {
            return TextGrewTooLong();
        }
        if (*more < sizeof chunk) {
            break;
        }
    }
    result.riddle.text = DecodeRiddleText(section);
    result.ok = true;
    return result;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::string DecodeRiddleText(std::string_view section) {
    if (section.starts_with(kUtf8Mark)) {
        return JoinParagraphs(section.substr(kUtf8Mark.size()), NextUtf8);
    }
    return JoinParagraphs(section, [](std::string_view s, size_t& i) {
        return cp1255::ToUnicode(static_cast<unsigned char>(s[i++]));
    });
}

std::string EncodeRiddleText(std::string_view utf8Text) {
    std::string legacy;
    legacy.reserve(utf8Text.size());
    bool fits = true;
    for (size_t i = 0; i < utf8Text.size() && fits;) {
        const char32_t c = NextUtf8(utf8Text, i);
        if (c == '\n') {
            legacy += "\r\n";
        } else if (const auto byte = cp1255::FromUnicode(c)) {
            legacy += static_cast<char>(*byte);
        } else {
            fits = false;
        }
    }
    // A legacy text that happened to begin with the UTF-8 mark's bytes would be
    // read back as UTF-8; such a text is written as UTF-8 too.
    if (fits && !legacy.starts_with(kUtf8Mark)) {
        return legacy;
    }
    std::string utf8(kUtf8Mark);
    utf8.reserve(utf8Text.size() + utf8Text.size() / 8 + 3);
    for (size_t i = 0; i < utf8Text.size();) {
        const char32_t c = NextUtf8(utf8Text, i);
        if (c == '\n') {
            utf8 += "\r\n";
        } else {
            AppendUtf8(utf8, c);
        }
    }
    return utf8;
}

std::string SerializeRiddle(const MatchList& matches, std::string_view utf8Text) {
    const std::string text = EncodeRiddleText(utf8Text);
    // Sized once and filled in place: a riddle of a million matches is
    // written at the speed of copying its bytes.
    const size_t recordsEnd = kCountSize + matches.Count() * kMatchRecordSize;
    std::string out(recordsEnd + text.size(), '\0');
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    // The count is a signed 32-bit number; a list longer than that cannot be
    // stored, and the caller keeps riddles far below it.
    PutLE32(p, static_cast<int32_t>(matches.Count()));
    p += kCountSize;
    for (const Match& m : matches) {
        PutMatchRecord(p, m);
        p += kMatchRecordSize;
    }
    std::memcpy(out.data() + recordsEnd, text.data(), text.size());
    return out;
}

std::optional<std::string> SerializeSavableRiddle(const MatchList& matches,
                                                  std::string_view utf8Text) {
    std::string bytes = SerializeRiddle(matches, utf8Text);
    if (bytes.size() - kCountSize - matches.Count() * kMatchRecordSize > kMaxTextBytes) {
        return std::nullopt;
    }
    return bytes;
}

RiddleReadResult ParseRiddle(std::string_view bytes, const RiddleReadOptions& options) {
    MemorySource source(bytes);
    return ReadRiddle(source, options);
}

RiddleReadResult ReadRiddleDescriptor(int fd, const RiddleReadOptions& options) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return Failure(SystemError());
    }
    if (S_ISDIR(info.st_mode)) {
        return Failure(RiddleReadProblem::Folder, "is a folder, not a riddle file");
    }
    if (!S_ISREG(info.st_mode)) {
        return Failure(RiddleReadProblem::NotRegularFile, "is not a regular file");
    }
    // The size from where the descriptor stands.
    const off_t position = ::lseek(fd, 0, SEEK_CUR);
    const auto size = static_cast<uint64_t>(info.st_size);
    const uint64_t start = position > 0 ? static_cast<uint64_t>(position) : 0;
    DescriptorSource source(fd, size > start ? size - start : 0);
    return ReadRiddle(source, options);
}

RiddleReadResult ReadRiddleFile(const std::string& path, const RiddleReadOptions& options) {
    // Non-blocking, so that opening a FIFO never waits for a writer.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        return Failure(SystemError());
    }
    return ReadRiddleDescriptor(fd.get(), options);
}

}  // namespace vorlo
