#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "commands.h"
#include "output.h"
#include "riddle_file.h"

namespace vorlo::cli {

namespace {

QByteArray ToJson(const QString& file, const Riddle& riddle) {
    QJsonArray matches;
    for (const CMatch& m : riddle.matches) {
        matches.append(QJsonArray{m.x, m.y, m.angle});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("file"), file},
                                     {QStringLiteral("matches"), matches},
                                     {QStringLiteral("text"), QString::fromStdString(riddle.text)}})
        .toJson(QJsonDocument::Compact);
}

// `escape`: show control characters of the name and the text as escapes.
QString Readable(const QString& file, const Riddle& riddle, bool escape) {
    const auto shown = [escape](const QString& text) {
        return escape ? EscapeControls(text) : text;
    };
    QString out = QCoreApplication::translate("vorlo-cli", "%1: %2 matches\n")
                      .arg(shown(file), QString::number(riddle.matches.Count()));
    for (const CMatch& m : riddle.matches) {
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
        command, QCoreApplication::translate("vorlo-cli", "[--json] FILE..."),
        QCoreApplication::translate("vorlo-cli", "Prints the matches and the text of riddles."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QCoreApplication::translate("vorlo-cli", "One JSON object per riddle, one per line."));
    commandLine.AddOption(json);
    commandLine.AddPositional(QCoreApplication::translate("vorlo-cli", "FILE"),
                              QCoreApplication::translate("vorlo-cli", "Riddle files (.vrl)."));
    QString error;
    if (!commandLine.Parse(arguments, &error)) {
        return UsageError(command, error);
    }
    if (commandLine.HelpWanted()) {
        PrintOut(commandLine.HelpText());
        return 0;
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
            PrintFileError(name, QString::fromStdString(read.error));
            status = 1;
            continue;
        }
        if (commandLine.IsSet(json)) {
            // JSON escapes the C0 controls itself; DEL and C1 inside its
            // strings may be written as \u escapes too.
            QString line = QString::fromUtf8(ToJson(name, read.riddle));
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
