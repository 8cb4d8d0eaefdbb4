// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "commands.h"
#include "output.h"
#include "riddle_file.h"
#include "riddle_io.h"
#include "shown_name.h"

namespace vorlo::cli {

namespace {

QByteArray ToJson(const QString& file, const Riddle& riddle) {
    QJsonArray matches;
    for (const Match& m : riddle.matches) {
        matches.append(QJsonArray{m.x, m.y, m.angle});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("file"), file},
                                     {QStringLiteral("matches"), matches},
                                     {QStringLiteral("text"), QString::fromStdString(riddle.text)}})
        .toJson(QJsonDocument::Compact);
}

// What --summary prints of a riddle: no line per match, so that reading a
// large riddle can be timed without timing the printing.
struct Summary {
    size_t count = 0;
    // The match points' extent: min x, min y, max x, max y; none when empty.
    std::optional<std::array<int32_t, 4>> box;
    size_t textLength = 0;  // Unicode characters of the decoded text
};

Summary Summarize(const Riddle& riddle) {
    Summary summary;
    for (const Match& m : riddle.matches) {
        ++summary.count;
        if (!summary.box) {
            summary.box = std::array<int32_t, 4>{m.x, m.y, m.x, m.y};
            continue;
        }
        auto& box = *summary.box;
        box[0] = std::min(box[0], m.x);
        box[1] = std::min(box[1], m.y);
        box[2] = std::max(box[2], m.x);
        box[3] = std::max(box[3], m.y);
    }
    // The text is UTF-8: every byte but a continuation byte starts a character.
    for (const char c : riddle.text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++summary.textLength;
        }
    }
    return summary;
}

QByteArray SummaryJson(const QString& file, const Summary& summary) {
    QJsonValue box;  // null for an empty riddle
    if (summary.box) {
        box =
            QJsonArray{(*summary.box)[0], (*summary.box)[1], (*summary.box)[2], (*summary.box)[3]};
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("file"), file},
                                     {QStringLiteral("matches"), qint64(summary.count)},
                                     {QStringLiteral("box"), box},
                                     {QStringLiteral("text_length"), qint64(summary.textLength)}})
        .toJson(QJsonDocument::Compact);
}

QString SummaryLine(const QString& file, const Summary& summary) {
    const QString box =
        summary.box
            ? QCoreApplication::translate("vorlo-cli", "box %1 %2 %3 %4")
                  .arg(QString::number((*summary.box)[0]), QString::number((*summary.box)[1]),
                       QString::number((*summary.box)[2]), QString::number((*summary.box)[3]))
            : QCoreApplication::translate("vorlo-cli", "no matches");
    return QCoreApplication::translate("vorlo-cli", "%1: %2 matches, %3, text %4 characters\n")
        .arg(file, QString::number(summary.count), box, QString::number(summary.textLength));
}

// `escape`: show control characters of the name and the text as escapes,
// and the name's direction marks too (the text's belong to its Hebrew).
QString Readable(const QString& file, const Riddle& riddle, bool escape) {
    const auto shown = [escape](const QString& text) { return escape ? ShownText(text) : text; };
    QString out =
        QCoreApplication::translate("vorlo-cli", "%1: %2 matches\n")
            .arg(escape ? ShownName(file) : file, QString::number(riddle.matches.Count()));
    for (const Match& m : riddle.matches) {
        out += QStringLiteral("  %1 %2 %3\n").arg(m.x).arg(m.y).arg(m.angle);
    }
    if (riddle.text.empty()) {
        out += QCoreApplication::translate("vorlo-cli", "text: (none)\n");
    } else {
        out += QCoreApplication::translate("vorlo-cli", "text:\n");
        for (const QString& line : QString::fromStdString(riddle.text).split(u'\n')) {
            out += QStringLiteral("  ") + shown(line) + u'\n';
        }
    }
    return out;
}

}  // namespace

int RunInfo(const Arguments& arguments) {
    const QString command = QStringLiteral("info");
    CommandLine commandLine(
        command, QCoreApplication::translate("vorlo-cli", "[--json] [--summary] FILE..."),
        QCoreApplication::translate("vorlo-cli", "Prints the matches and the text of riddles."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QCoreApplication::translate("vorlo-cli", "One JSON object per riddle, one per line."));
    const QCommandLineOption summaryOption(
        QStringLiteral("summary"),
        QCoreApplication::translate("vorlo-cli",
                                    "One line per riddle instead of its matches and text:\n"
                                    "FILE: N matches, box MINX MINY MAXX MAXY, text L characters\n"
                                    "The box holds the match points (\"no matches\" when there\n"
                                    "are none); L counts the Unicode characters of the text.\n"
                                    "With --json: {\"box\":[MINX,MINY,MAXX,MAXY] or null,\n"
                                    "\"file\":...,\"matches\":N,\"text_length\":L}."));
    commandLine.AddOption(json);
    commandLine.AddOption(summaryOption);
    commandLine.AddPositional(QCoreApplication::translate("vorlo-cli", "FILE"),
                              QCoreApplication::translate("vorlo-cli", "Riddle files (.vrl)."));
    if (const std::optional<int> done = ParseArguments(commandLine, arguments, command)) {
        return *done;
    }
    const Arguments& files = commandLine.Positional();
    if (files.isEmpty()) {
        return UsageError(command,
                          QCoreApplication::translate("vorlo-cli", "no riddle file given"));
    }

    // Shown on a terminal, the text's control characters are shown as
    // escapes instead of being obeyed; a pipe gets the text as it is.
    const bool terminal = StandardOutputIsTerminal();
    int status = 0;
    for (const Argument& file : files) {
        const QString name = DisplayName(file.bytes);
        const RiddleReadResult read = ReadRiddleFile(file.bytes.toStdString());
        if (!read.ok) {
            PrintFileError(name, RiddleReadErrorText(read));
            status = 1;
            continue;
        }
        const bool summary = commandLine.IsSet(summaryOption);
        if (summary && !commandLine.IsSet(json)) {
            PrintOut(SummaryLine(terminal ? ShownName(name) : name, Summarize(read.riddle)));
        } else if (commandLine.IsSet(json)) {
            // JSON escapes the C0 controls itself; DEL and C1 inside its
            // strings may be written as \u escapes too.
            QString line = QString::fromUtf8(summary ? SummaryJson(name, Summarize(read.riddle))
                                                     : ToJson(name, read.riddle));
            if (terminal) {
                for (char16_t c = 0x7F; c <= 0x9F; ++c) {
                    line.replace(QChar(c), QStringLiteral("\\u00") + QString::number(int{c}, 16));
                }
            }
            PrintOut(line + u'\n');
        } else {
            PrintOut(Readable(name, read.riddle, terminal));
        }
    }
    return status;
}

}  // namespace vorlo::cli
