// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QStringDecoder>
#include <limits>
#include <optional>

#include "commands.h"
#include "cp1255.h"
#include "input_file.h"
#include "output.h"
#include "riddle_file.h"
#include "riddle_io.h"

namespace vorlo::cli {

namespace {

bool ParseInt32(const QString& text, int32_t* value) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) {
        return false;
    }
    *value = static_cast<int32_t>(v);
    return true;
}

// "x,y,angle" as three signed 32-bit numbers.
bool ParseMatch(const QString& text, Match* match) {
    const QStringList parts = text.split(u',');
    return parts.size() == 3 && ParseInt32(parts[0], &match->x) &&
           ParseInt32(parts[1], &match->y) && ParseInt32(parts[2], &match->angle);
}

enum class Encoding { kUtf8, kCp1255 };

// The text of `bytes`; nothing when they are not text in that encoding (a
// letter is never replaced by U+FFFD).
std::optional<QString> Decode(const QByteArray& bytes, Encoding encoding) {
    if (encoding == Encoding::kCp1255) {
        QString text;
        text.reserve(bytes.size());
        for (const char byte : bytes) {
            const char32_t c = cp1255::ToUnicode(static_cast<uint8_t>(byte));
            text +=
                QChar(static_cast<char16_t>(c));  // every character of the code page is in the BMP
        }
        return text;
    }
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

// --text: "\n" is a paragraph break and "\\" a backslash; any other
// backslash stays as typed (C:\temp).
QString Unescape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size() &&
            (text[i + 1] == u'n' || text[i + 1] == u'\\')) {
            out += text[i + 1] == u'n' ? u'\n' : u'\\';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Reads a text file (or standard input for "-") of at most kMaxTextBytes
// and a final line end, whatever it is: a device or a FIFO that never ends is
// read only just past that.
bool ReadTextFile(const Argument& path, QByteArray* bytes, QString* error) {
    InputFile file;
    if (!file.Open(path.bytes, false, error)) {
        return false;
    }
    const auto limit = static_cast<qint64>(kMaxTextBytes) + 2;  // and a final CR LF
    if (!file.Read(limit + 1, bytes, error)) {
        return false;
    }
    if (bytes->size() > limit) {
        *error = QCoreApplication::translate(
                     "vorlo-cli", "is longer than a riddle's text can be (%1 MB at most)")
                     .arg(kMaxTextBytes >> 20);
        return false;
    }
    return true;
}

}  // namespace

int RunCreate(const Arguments& arguments) {
    const QString command = QStringLiteral("create");
    CommandLine commandLine(
        command,
        QCoreApplication::translate(
            "vorlo-cli",
            "-o FILE [--text TEXT | --text-file PATH] [--text-encoding ENCODING] "
            "[x,y,angle ...]"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Writes a riddle with the given matches, in that order, and text.\n"
            "A negative coordinate needs no quoting: create -o a.vrl -5,7,-30"));
    const QCommandLineOption output = RiddleOutputOption();
    const QCommandLineOption text(
        QStringLiteral("text"),
        QCoreApplication::translate("vorlo-cli",
                                    "The task text: \\n between paragraphs, \\\\ for a backslash."),
        QCoreApplication::translate("vorlo-cli", "TEXT"));
    const QCommandLineOption textFile(
        QStringLiteral("text-file"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Read the task text from a file (- for standard input), one paragraph a "
            "line; the last line's line end is not a paragraph break."),
        QCoreApplication::translate("vorlo-cli", "PATH"));
    const QCommandLineOption textEncoding(
        QStringLiteral("text-encoding"),
        QCoreApplication::translate("vorlo-cli",
                                    "How the text is written: utf-8 (the default) or cp1255."),
        QCoreApplication::translate("vorlo-cli", "ENCODING"), QStringLiteral("utf-8"));
    for (const QCommandLineOption& option : {output, text, textFile, textEncoding}) {
        commandLine.AddOption(option);
    }
    commandLine.AddPositional(
        QCoreApplication::translate("vorlo-cli", "MATCH"),
        QCoreApplication::translate("vorlo-cli", "A match as x,y,angle (whole numbers)."));
    if (const std::optional<int> done = ParseArguments(commandLine, arguments, command)) {
        return *done;
    }
    if (!commandLine.IsSet(output)) {
        return UsageError(command, QCoreApplication::translate("vorlo-cli", "-o FILE is required"));
    }
    if (commandLine.IsSet(text) && commandLine.IsSet(textFile)) {
        return UsageError(command, QCoreApplication::translate(
                                       "vorlo-cli", "give --text or --text-file, not both"));
    }
    const QString encodingName = commandLine.Value(textEncoding).text.toLower();
    Encoding encoding = Encoding::kUtf8;
    if (encodingName == u"cp1255" || encodingName == u"windows-1255") {
        encoding = Encoding::kCp1255;
    } else if (encodingName != u"utf-8" && encodingName != u"utf8") {
        return UsageError(
            command, QCoreApplication::translate("vorlo-cli",
                                                 "--text-encoding wants utf-8 or cp1255, not '%1'")
                         .arg(commandLine.Value(textEncoding).text));
    }

    MatchList matches;
    for (const Argument& argument : commandLine.Positional()) {
        Match match;
        if (!ParseMatch(argument.text, &match)) {
            return UsageError(command,
                              QCoreApplication::translate("vorlo-cli",
                                                          "'%1' is not a match: write x,y,angle as "
                                                          "whole numbers")
                                  .arg(argument.text));
        }
        matches.Append(match);
    }

    // A name that is not UTF-8 would be written as another name.
    const Argument out = commandLine.Value(output);
    const QString outName = DisplayName(out.bytes);
    if (!IsUtf8(out.bytes)) {
        PrintFileError(outName,
                       QCoreApplication::translate(
                           "vorlo-cli", "the name is not UTF-8 and cannot be represented"));
        return 1;
    }

    QString error;
    QString riddleText;
    if (commandLine.IsSet(text)) {
        const std::optional<QString> decoded = Decode(commandLine.Value(text).bytes, encoding);
        if (!decoded) {
            return UsageError(command,
                              QCoreApplication::translate("vorlo-cli", "--text is not UTF-8 text"));
        }
        riddleText = Unescape(*decoded);
        riddleText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    } else if (commandLine.IsSet(textFile)) {
        const Argument path = commandLine.Value(textFile);
        QByteArray bytes;
        if (!ReadTextFile(path, &bytes, &error)) {
            PrintFileError(DisplayName(path.bytes), error);
            return 1;
        }
        const std::optional<QString> decoded = Decode(bytes, encoding);
        if (!decoded) {
            PrintFileError(DisplayName(path.bytes),
                           QCoreApplication::translate("vorlo-cli", "not UTF-8 text"));
            return 1;
        }
        riddleText = *decoded;
        riddleText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        // The file's last line end ends its last line: it is no paragraph break.
        if (riddleText.endsWith(u'\n')) {
            riddleText.chop(1);
        }
    }

    // A file the reader would refuse is not written.
    std::string bytes;
    if (!RiddleFileBytes(matches, riddleText, &bytes, &error)) {
        PrintFileError(outName, error);
        return 1;
    }
    return WriteRiddleOutput(out, outName, bytes);
}

}  // namespace vorlo::cli
