// vorlo-cli render and thumbnail: a riddle's picture as PNG, SVG or PDF.

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>
#include <algorithm>

#include "board_render.h"
#include "commands.h"
#include "riddle_io.h"

namespace vorlo::cli {

namespace {

constexpr int kDefaultMargin = 10;
constexpr int kMaxMargin = 100000;

// The thumbnailer draws at most this many matches and never more than this
// many pixels a side, so it ends quickly and in little memory on any file.
constexpr int32_t kThumbnailMaxMatches = 200000;
constexpr int kThumbnailMaxSize = 1024;
constexpr qint64 kRecordSize = 12;

int UsageError(const QString& command, const QString& message) {
    QTextStream(stderr) << "vorlo-cli " << command << ": " << message << Qt::endl;
    return 2;
}

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

// Writes `bytes` to `path`, replacing the old file only when all went well.
bool WriteAll(const QString& path, const std::function<bool(QIODevice*)>& write, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (!write(&file)) {
        *error = file.error() != QFileDevice::NoError ? file.errorString()
                                                      : QStringLiteral("cannot draw the picture");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool WritePng(QIODevice* device, const QImage& image) {
    if (image.isNull()) {
        return false;
    }
    QImageWriter writer(device, "png");
    return writer.write(image);
}

uint32_t LittleEndian32(const char* bytes) {
    return uint32_t{static_cast<uint8_t>(bytes[0])} |
           uint32_t{static_cast<uint8_t>(bytes[1])} << 8 |
           uint32_t{static_cast<uint8_t>(bytes[2])} << 16 |
           uint32_t{static_cast<uint8_t>(bytes[3])} << 24;
}

int32_t ReadInt32(const char* bytes) {
    return static_cast<int32_t>(LittleEndian32(bytes));
}

// The first matches of a riddle file, at most kThumbnailMaxMatches of them,
// read without looking at the rest of the file.
bool ReadThumbnailMatches(const QString& path, MatchList* matches, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("no such file");
        return false;
    }
    if (!info.isFile()) {
        *error = QStringLiteral("not a regular file");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    char header[4];
    if (file.size() == 0) {
        return true;  // an empty file is an empty riddle
    }
    if (file.read(header, 4) != 4) {
        *error = QStringLiteral("ends inside the match count");
        return false;
    }
    const int32_t count = ReadInt32(header);
    if (count <= 0) {
        return true;
    }
    const qint64 available = (file.size() - 4) / kRecordSize;
    if (available < count) {
        *error = QStringLiteral("declares %1 matches but holds only %2").arg(count).arg(available);
        return false;
    }
    const int32_t wanted = std::min(count, kThumbnailMaxMatches);
    const QByteArray records = file.read(qint64{wanted} * kRecordSize);
    if (records.size() != qint64{wanted} * kRecordSize) {
        *error = file.errorString();
        return false;
    }
    matches->Reserve(static_cast<size_t>(wanted));
    for (qsizetype offset = 0; offset < records.size(); offset += kRecordSize) {
        const char* record = records.constData() + offset;
        matches->Append(CMatch(ReadInt32(record), ReadInt32(record + 4), ReadInt32(record + 8)));
    }
    return true;
}

}  // namespace

int RunRender(const QStringList& arguments) {
    const QString command = QStringLiteral("render");
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Draws a riddle's matches as PNG, SVG or PDF, chosen by the output's extension.\n"
        "Without --size the picture shows the matches with a margin, one pixel per\n"
        "board pixel, scaled down to at most 8192 pixels a side."));
    parser.addHelpOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The picture to write (.png, .svg or .pdf)."),
                                    QStringLiteral("OUT"));
    const QCommandLineOption size(
        QStringLiteral("size"),
        QStringLiteral("Scale the picture to fit inside W x H pixels (at most 8192 a side), "
                       "keeping its proportions."),
        QStringLiteral("WxH"));
    const QCommandLineOption selected(
        QStringLiteral("selected"),
        QStringLiteral("Draw match N with the blue head of the selection; matches count from "
                       "1 in file order, 0 selects none (default)."),
        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption margin(
        QStringLiteral("margin"),
        QStringLiteral("Board pixels of white around the matches (default 10)."),
        QStringLiteral("PX"), QString::number(kDefaultMargin));
    parser.addOptions({output, size, selected, margin});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The riddle (.vrl)."));
    if (!parser.parse(arguments)) {
        return UsageError(command, parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        return UsageError(command, QStringLiteral("give exactly one riddle file"));
    }
    const QString out = parser.value(output);
    if (out.isEmpty()) {
        return UsageError(command, QStringLiteral("no output given (-o OUT)"));
    }
    const QString format = QFileInfo(out).suffix().toLower();
    if (format != u"png" && format != u"svg" && format != u"pdf") {
        return UsageError(command,
                          QStringLiteral("%1: the output must end in .png, .svg or .pdf").arg(out));
    }
    std::optional<QSize> fit;
    if (parser.isSet(size)) {
        QSize fitSize;
        if (!ParseSize(parser.value(size), &fitSize)) {
            return UsageError(command,
                              QStringLiteral("--size wants WxH, each from 1 to %1, not '%2'")
                                  .arg(kMaxPictureSide)
                                  .arg(parser.value(size)));
        }
        fit = fitSize;
    }
    bool ok = false;
    const int marginPixels = parser.value(margin).toInt(&ok);
    if (!ok || marginPixels < 0 || marginPixels > kMaxMargin) {
        return UsageError(command, QStringLiteral("--margin wants a number from 0 to %1, not '%2'")
                                       .arg(kMaxMargin)
                                       .arg(parser.value(margin)));
    }
    const qlonglong selectedNumber = parser.value(selected).toLongLong(&ok);
    if (!ok || selectedNumber < 0) {
        return UsageError(command, QStringLiteral("--selected wants a match number, not '%1'")
                                       .arg(parser.value(selected)));
    }

    const QString file = files.first();
    const RiddleReadResult read = LoadRiddleFile(file);
    if (!read.ok) {
        PrintFileError(file, QString::fromStdString(read.error));
        return 1;
    }
    const MatchList& matches = read.riddle.matches;
    if (static_cast<size_t>(selectedNumber) > matches.Count()) {
        return UsageError(command, QStringLiteral("--selected %1: %2 holds %3 matches")
                                       .arg(selectedNumber)
                                       .arg(file)
                                       .arg(matches.Count()));
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
    QString error;
    bool written = false;
    if (format == u"png") {
        written = WriteAll(
            out,
            [&](QIODevice* device) {
                return WritePng(device, RenderImage(matches, selectedMatch, frame));
            },
            &error);
    } else if (format == u"pdf") {
        written = WriteAll(
            out, [&](QIODevice* device) { return WritePdf(device, matches, selectedMatch, frame); },
            &error);
    } else {
        written = WriteAll(
            out,
            [&](QIODevice* device) {
                const QByteArray svg = SvgDocument(matches, selectedMatch, frame);
                return device->write(svg) == svg.size();
            },
            &error);
    }
    if (!written) {
        PrintFileError(out, error);
        return 1;
    }
    return 0;
}

int RunThumbnail(const QStringList& arguments) {
    const QString command = QStringLiteral("thumbnail");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a PNG preview of a riddle of at most SIZE x SIZE pixels (SIZE at "
                       "most 1024), for file managers. Draws at most the first 200000 matches."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The riddle (.vrl)."));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The PNG to write."));
    parser.addPositionalArgument(QStringLiteral("SIZE"),
                                 QStringLiteral("The longest side in pixels."));
    if (!parser.parse(arguments)) {
        return UsageError(command, parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 3) {
        return UsageError(command, QStringLiteral("wants IN OUT SIZE"));
    }
    bool ok = false;
    const int side = positional[2].toInt(&ok);
    if (!ok || side < 1) {
        return UsageError(
            command, QStringLiteral("SIZE wants a number of pixels, not '%1'").arg(positional[2]));
    }
    const int boundedSide = std::min(side, kThumbnailMaxSize);

    MatchList matches;
    QString error;
    if (!ReadThumbnailMatches(positional[0], &matches, &error)) {
        PrintFileError(positional[0], error);
        return 1;
    }
    const PictureFrame frame =
        FramePicture(matches, kDefaultMargin, QSize(boundedSide, boundedSide));
    if (!WriteAll(
            positional[1],
            [&](QIODevice* device) { return WritePng(device, RenderImage(matches, {}, frame)); },
            &error)) {
        PrintFileError(positional[1], error);
        return 1;
    }
    return 0;
}

}  // namespace vorlo::cli
