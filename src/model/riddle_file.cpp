#include "riddle_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cp1255.h"

namespace vorlo {

namespace {

constexpr size_t kRecordSize = 12;
constexpr size_t kCountSize = 4;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

int32_t ReadInt32(const unsigned char* p) {
    const uint32_t v =
        uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    return static_cast<int32_t>(v);
}

void PutInt32(unsigned char* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>((v >> 8) & 0xFF);
    p[2] = static_cast<unsigned char>((v >> 16) & 0xFF);
    p[3] = static_cast<unsigned char>(v >> 24);
}

CMatch ReadRecord(const unsigned char* p) {
    return CMatch(ReadInt32(p), ReadInt32(p + 4), ReadInt32(p + 8));
}

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

RiddleReadResult Failure(std::string message) {
    RiddleReadResult result;
    result.error = std::move(message);
    return result;
}

std::string CountMismatch(int32_t count, size_t recordBytes) {
    return "declares " + std::to_string(count) + " matches but holds only " +
           std::to_string(recordBytes / kRecordSize);
}

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
    const size_t recordsEnd = kCountSize + matches.Count() * kRecordSize;
    std::string out(recordsEnd + text.size(), '\0');
    auto* p = reinterpret_cast<unsigned char*>(out.data());
    // The count is a signed 32-bit number; a list longer than that cannot be
    // stored, and the caller keeps riddles far below it.
    PutInt32(p, static_cast<int32_t>(matches.Count()));
    p += kCountSize;
    for (const CMatch& m : matches) {
        PutInt32(p, m.x);
        PutInt32(p + 4, m.y);
        PutInt32(p + 8, m.angle);
        p += kRecordSize;
    }
    std::memcpy(out.data() + recordsEnd, text.data(), text.size());
    return out;
}

RiddleReadResult ParseRiddle(std::string_view bytes) {
    RiddleReadResult result;
    if (bytes.empty()) {
        result.ok = true;
        return result;
    }
    if (bytes.size() < kCountSize) {
        return Failure("ends inside the match count");
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const int32_t count = ReadInt32(data);
    size_t offset = kCountSize;
    if (count > 0) {
        const size_t available = bytes.size() - kCountSize;
        const size_t needed = static_cast<size_t>(count) * kRecordSize;
        if (available < needed) {
            return Failure(CountMismatch(count, available));
        }
        result.riddle.matches.Reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i, offset += kRecordSize) {
            result.riddle.matches.Append(ReadRecord(data + offset));
        }
    }
    const std::string_view section = bytes.substr(offset);
    if (section.size() > kMaxTextBytes) {
        return Failure("has a text section of " + std::to_string(section.size()) +
                       " bytes, more than a riddle's text can be");
    }
    result.riddle.text = DecodeRiddleText(section);
    result.ok = true;
    return result;
}

namespace {

// Reads up to `size` bytes, retrying short reads; returns how many were read
// or -1 with errno set.
ssize_t ReadFully(int fd, char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
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

RiddleReadResult ReadRiddleFile(const std::string& path) {
    // Non-blocking, so that opening a FIFO never waits for a writer.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        return Failure(std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return Failure(std::strerror(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return Failure("is a folder, not a riddle file");
    }
    if (!S_ISREG(info.st_mode)) {
        return Failure("is not a regular file");
    }
    const auto fileSize = static_cast<uint64_t>(info.st_size);

    RiddleReadResult result;
    unsigned char header[kCountSize];
    const ssize_t headerRead = ReadFully(fd.get(), reinterpret_cast<char*>(header), kCountSize);
    if (headerRead < 0) {
        return Failure(std::strerror(errno));
    }
    if (headerRead == 0) {
        result.ok = true;  // an empty file is an empty riddle
        return result;
    }
    if (headerRead < static_cast<ssize_t>(kCountSize)) {
        return Failure("ends inside the match count");
    }
    const int32_t count = ReadInt32(header);
    if (count > 0) {
        // Check the declared count against the file before reserving anything.
        const uint64_t available = fileSize > kCountSize ? fileSize - kCountSize : 0;
        const uint64_t needed = static_cast<uint64_t>(count) * kRecordSize;
        if (available < needed) {
            return Failure(CountMismatch(count, static_cast<size_t>(available)));
        }
        MatchList& matches = result.riddle.matches;
        matches.Reserve(static_cast<size_t>(count));
        constexpr size_t kChunkRecords = 8192;
        std::string buffer(kChunkRecords * kRecordSize, '\0');
        size_t remaining = static_cast<size_t>(count);
        while (remaining > 0) {
            const size_t records = std::min(remaining, kChunkRecords);
            const ssize_t got = ReadFully(fd.get(), buffer.data(), records * kRecordSize);
            if (got < 0) {
                return Failure(std::strerror(errno));
            }
            const size_t whole = static_cast<size_t>(got) / kRecordSize;
            const auto* p = reinterpret_cast<const unsigned char*>(buffer.data());
            for (size_t i = 0; i < whole; ++i) {
                matches.Append(ReadRecord(p + i * kRecordSize));
            }
            if (whole < records) {
                // The file shrank while it was read.
                return Failure(CountMismatch(count, matches.Count() * kRecordSize));
            }
            remaining -= records;
        }
    }

    // The text runs to the end of the file.
    std::string section;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ReadFully(fd.get(), chunk, sizeof chunk);
        if (got < 0) {
            return Failure(std::strerror(errno));
        }
        section.append(chunk, static_cast<size_t>(got));
        if (section.size() > kMaxTextBytes) {
            return Failure("has a text section of more than " + std::to_string(kMaxTextBytes) +
                           " bytes, more than a riddle's text can be");
        }
        if (got < static_cast<ssize_t>(sizeof chunk)) {
            break;
        }
    }
    result.riddle.text = DecodeRiddleText(section);
    result.ok = true;
    return result;
}

}  // namespace vorlo
