// SPDX-License-Identifier: GPL-3.0-or-later
// vorlo-cli render and thumbnail: a riddle's picture as PNG, SVG or PDF.

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "board_render.h"
#include "commands.h"
#include "input_file.h"
#include "output.h"
#include "riddle_file.h"
#include "riddle_io.h"

namespace vorlo::cli {

namespace {

constexpr int kDefaultMargin = 10;
constexpr int kMaxMargin = 100000;

// The thumbnailer draws at most this many matches and never more than this
// many pixels a side, so it ends quickly and in little memory on any file.
constexpr size_t kThumbnailMaxMatches = 200000;
constexpr int kThumbnailMaxSize = 1024;

bool ParseSize(const QString& text, QSize* size) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})[xX](\\d{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    *size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    return size->width() >= 1 && size->height() >= 1 && size->width() <= kMaxPictureSide &&
           size->height() <= kMaxPictureSide;
}

// Draws the picture into memory, then writes it to `out` ("-" for standard
// output) through the one atomic writer: the old file is replaced only by a
// whole picture, and a target that is not a regular file is refused.
bool WritePicture(const Argument& out, const std::function<bool(QIODevice*)>& draw,
                  QString* error) {
    if (!IsUtf8(out.bytes)) {
        *error = QCoreApplication::translate("vorlo-cli",
                                             "the name is not UTF-8 and cannot be represented");
        return false;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!draw(&buffer)) {
        *error = QCoreApplication::translate("vorlo-cli", "cannot draw the picture");
        return false;
    }
    if (out.bytes == "-") {
        WriteOut(buffer.data());
        return true;
    }
    return WriteFileAtomically(out.text, buffer.data().toStdString(), error);
}

bool WritePng(QIODevice* device, const QImage& image);

// The picture written as the window's Export Picture writes it: to a file
// through the one atomic writer (an SVG as it is made, so its memory does not
// grow with the riddle), or to standard output.
bool WriteRender(const Argument& out, PictureFormat format, const MatchList& matches,
                 MatchList::Ref selected, const PictureFrame& frame, const PictureText* text,
                 QString* error) {
    if (out.bytes != "-") {
        if (!IsUtf8(out.bytes)) {
            *error = QCoreApplication::translate("vorlo-cli",
                                                 "the name is not UTF-8 and cannot be represented");
            return false;
        }
        return WritePictureFile(out.text, format, matches, selected, frame, text, error);
    }
    if (format == PictureFormat::Svg) {
        // A failed write leaves stdout's error mark, reported at the end.
        WriteSvgInPieces(
            [](std::string_view chunk) {
                WriteOut(
                    QByteArray::fromRawData(chunk.data(), static_cast<qsizetype>(chunk.size())));
                return std::ferror(stdout) == 0;
            },
            matches, selected, frame, text);
        return true;
    }
    const auto draw = [&](QIODevice* device) {
        if (format == PictureFormat::Png) {
            return WritePng(device, RenderImage(matches, selected, frame, text));
        }
        return WritePdf(device, matches, selected, frame, text);
    };
    return WritePicture(out, draw, error);
}

bool WritePng(QIODevice* device, const QImage& image) {
    if (image.isNull()) {
        return false;
    }
    QImageWriter writer(device, "png");
    return writer.write(image);
}

// The first matches of a riddle file, at most kThumbnailMaxMatches of them,
// read without looking at the rest of the file.
bool ReadThumbnailMatches(const QByteArray& path, MatchList* matches, QString* error) {
    InputFile file;
    if (!file.Open(path, true, error)) {
        return false;
    }
    if (!S_ISREG(file.Info().st_mode)) {
        *error = QCoreApplication::translate("vorlo-cli", "not a regular file");
        return false;
    }
    RiddleReadResult read =
        ReadRiddleDescriptor(file.Descriptor(), RiddleReadOptions{kThumbnailMaxMatches});
    if (!read.ok) {
        *error = RiddleReadErrorText(read);
        return false;
    }
    *matches = std::move(read.riddle.matches);
    return true;
}

}  // namespace

int RunRender(const Arguments& arguments) {
    const QString command = QStringLiteral("render");
    CommandLine commandLine(
        command,
        QCoreApplication::translate(
            "vorlo-cli",
            "FILE -o OUT [--format FORMAT] [--size WxH] [--selected N] [--margin PX] "
            "[--with-text]"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Draws a riddle's matches as PNG, SVG or PDF, chosen by the output's extension.\n"
            "Without --size the picture shows the matches with a margin, one pixel per\n"
            "board pixel, scaled down to at most 8192 pixels a side."));
    const QCommandLineOption output(
        {QStringLiteral("o"), QStringLiteral("output")},
        QCoreApplication::translate(
            "vorlo-cli",
            "The picture to write (.png, .svg or .pdf); - writes it to standard "
            "output."),
        QCoreApplication::translate("vorlo-cli", "OUT"));
    const QCommandLineOption format(
        QStringLiteral("format"),
        QCoreApplication::translate(
            "vorlo-cli", "png, svg or pdf, whatever the output's name (png for standard output)."),
        QCoreApplication::translate("vorlo-cli", "FORMAT"));
    const QCommandLineOption size(
        QStringLiteral("size"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Scale the picture to fit inside W x H pixels (at most 8192 a side), "
            "keeping its proportions."),
        QCoreApplication::translate("vorlo-cli", "WxH"));
    const QCommandLineOption selected(
        QStringLiteral("selected"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Draw match N with the blue head of the selection; matches count from "
            "1 in file order, 0 selects none (default)."),
        QCoreApplication::translate("vorlo-cli", "N"), QStringLiteral("0"));
    const QCommandLineOption margin(
        QStringLiteral("margin"),
        QCoreApplication::translate("vorlo-cli",
                                    "Board pixels of white around the matches (default 10)."),
        QCoreApplication::translate("vorlo-cli", "PX"), QString::number(kDefaultMargin));
    const QCommandLineOption withText(
        QStringLiteral("with-text"),
        QCoreApplication::translate("vorlo-cli",
                                    "Draw the riddle's task text below the matches, flush right "
                                    "as the window shows it."));
    for (const QCommandLineOption& option : {output, format, size, selected, margin, withText}) {
        commandLine.AddOption(option);
    }
    commandLine.AddPositional(QCoreApplication::translate("vorlo-cli", "FILE"),
                              QCoreApplication::translate("vorlo-cli", "The riddle (.vrl)."));
    if (const std::optional<int> done = ParseArguments(commandLine, arguments, command)) {
        return *done;
    }
    const Arguments& files = commandLine.Positional();
    if (files.size() != 1) {
        return UsageError(command,
                          QCoreApplication::translate("vorlo-cli", "give exactly one riddle file"));
    }
    const Argument out = commandLine.Value(output);
    if (out.bytes.isEmpty()) {
        return UsageError(command,
                          QCoreApplication::translate("vorlo-cli", "no output given (-o OUT)"));
    }
    QString pictureFormat;
    if (commandLine.IsSet(format)) {
        pictureFormat = commandLine.Value(format).text.toLower();
        if (pictureFormat != u"png" && pictureFormat != u"svg" && pictureFormat != u"pdf") {
            return UsageError(command, QCoreApplication::translate(
                                           "vorlo-cli", "--format wants png, svg or pdf, not '%1'")
                                           .arg(commandLine.Value(format).text));
        }
    } else if (out.bytes == "-") {
        pictureFormat = QStringLiteral("png");
    } else {
        pictureFormat = QFileInfo(out.text).suffix().toLower();
        if (pictureFormat != u"png" && pictureFormat != u"svg" && pictureFormat != u"pdf") {
            return UsageError(command,
                              QCoreApplication::translate("vorlo-cli",
                                                          "%1: the output must end in .png, .svg "
                                                          "or .pdf (or give --format)")
                                  .arg(DisplayName(out.bytes)));
        }
    }
    std::optional<QSize> fit;
    if (commandLine.IsSet(size)) {
        QSize fitSize;
        if (!ParseSize(commandLine.Value(size).text, &fitSize)) {
            return UsageError(
                command, QCoreApplication::translate(
                             "vorlo-cli", "--size wants WxH, each from 1 to %1, not '%2'")
                             .arg(QString::number(kMaxPictureSide), commandLine.Value(size).text));
        }
        fit = fitSize;
    }
    bool ok = false;
    const QString marginText = commandLine.Value(margin).text;
    const int marginPixels = marginText.toInt(&ok);
    if (!ok || marginPixels < 0 || marginPixels > kMaxMargin) {
        return UsageError(
            command, QCoreApplication::translate("vorlo-cli",
                                                 "--margin wants a number from 0 to %1, not '%2'")
                         .arg(QString::number(kMaxMargin), marginText));
    }
    const QString selectedText = commandLine.Value(selected).text;
    const qlonglong selectedNumber = selectedText.toLongLong(&ok);
    if (!ok || selectedNumber < 0) {
        return UsageError(command, QCoreApplication::translate(
                                       "vorlo-cli", "--selected wants a match number, not '%1'")
                                       .arg(selectedText));
    }

    const QString file = DisplayName(files.first().bytes);
    const RiddleReadResult read = ReadRiddleFile(files.first().bytes.toStdString());
    if (!read.ok) {
        PrintFileError(file, RiddleReadErrorText(read));
        return 1;
    }
    const MatchList& matches = read.riddle.matches;
    if (static_cast<size_t>(selectedNumber) > matches.Count()) {
        return UsageError(
            command,
            QCoreApplication::translate("vorlo-cli", "--selected %1: %2 holds %3 matches")
                .arg(QString::number(selectedNumber), file, QString::number(matches.Count())));
    }
    MatchList::Ref selectedMatch;
    if (selectedNumber > 0) {
        auto it = matches.begin();
        for (qlonglong i = 1; i < selectedNumber; ++i) {
            ++it;
        }
        selectedMatch = it.ref();
    }

    const PictureFrame frame = FramePicture(matches, marginPixels, fit);
    PictureText text{QString::fromStdString(read.riddle.text), QGuiApplication::font()};
    QString error;
    if (!WriteRender(out, *PictureFormatNamed(pictureFormat), matches, selectedMatch, frame,
                     commandLine.IsSet(withText) ? &text : nullptr, &error)) {
        PrintFileError(DisplayName(out.bytes), error);
        return 1;
    }
    if (commandLine.IsSet(withText) && text.cut) {
        // A warning, not a failure: the picture keeps to its size.
        PrintFileError(file,
                       QCoreApplication::translate("vorlo-cli",
                                                   "the task text was too long for the picture and "
                                                   "was cut after %1 lines")
                           .arg(kMaxTextLines));
    }
    return 0;
}

int RunThumbnail(const Arguments& arguments) {
    const QString command = QStringLiteral("thumbnail");
    CommandLine commandLine(
        command, QCoreApplication::translate("vorlo-cli", "IN OUT SIZE"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Writes a PNG preview of a riddle of at most SIZE x SIZE pixels (SIZE at "
            "most 1024), for file managers. Draws at most the first 200000 matches."));
    commandLine.AddPositional(QCoreApplication::translate("vorlo-cli", "IN"),
                              QCoreApplication::translate("vorlo-cli", "The riddle (.vrl)."));
    commandLine.AddPositional(QCoreApplication::translate("vorlo-cli", "OUT"),
                              QCoreApplication::translate("vorlo-cli", "The PNG to write."));
    commandLine.AddPositional(
        QCoreApplication::translate("vorlo-cli", "SIZE"),
        QCoreApplication::translate("vorlo-cli", "The longest side in pixels."));
    if (const std::optional<int> done = ParseArguments(commandLine, arguments, command)) {
        return *done;
    }
    const Arguments& positional = commandLine.Positional();
    if (positional.size() != 3) {
        return UsageError(command, QCoreApplication::translate("vorlo-cli", "wants IN OUT SIZE"));
    }
    bool ok = false;
    const int side = positional[2].text.toInt(&ok);
    if (!ok || side < 1) {
        return UsageError(command, QCoreApplication::translate(
                                       "vorlo-cli", "SIZE wants a number of pixels, not '%1'")
                                       .arg(positional[2].text));
    }
    const int boundedSide = std::min(side, kThumbnailMaxSize);

    MatchList matches;
    QString error;
    if (!ReadThumbnailMatches(positional[0].bytes, &matches, &error)) {
        PrintFileError(DisplayName(positional[0].bytes), error);
        return 1;
    }
    const PictureFrame frame =
        FramePicture(matches, kDefaultMargin, QSize(boundedSide, boundedSide));
    if (!WritePicture(
            positional[1],
            [&](QIODevice* device) { return WritePng(device, RenderImage(matches, {}, frame)); },
            &error)) {
        PrintFileError(DisplayName(positional[1].bytes), error);
        return 1;
    }
    return 0;
}

}  // namespace vorlo::cli
