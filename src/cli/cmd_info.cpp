#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "commands.h"
#include "riddle_io.h"

namespace vorlo::cli {

namespace {

QJsonObject ToJson(const QString& file, const Riddle& riddle) {
    QJsonArray matches;
    for (const CMatch& m : riddle.matches) {
        matches.append(QJsonArray{m.x, m.y, m.angle});
    }
    return QJsonObject{{QStringLiteral("file"), file},
                       {QStringLiteral("matches"), matches},
                       {QStringLiteral("text"), QString::fromStdString(riddle.text)}};
}

void PrintReadable(QTextStream& out, const QString& file, const Riddle& riddle) {
    out << file << ": " << riddle.matches.Count() << " matches\n";
    for (const CMatch& m : riddle.matches) {
        out << "  " << m.x << ' ' << m.y << ' ' << m.angle << '\n';
    }
    if (riddle.text.empty()) {
        out << "text: (none)\n";
    } else {
        out << "text:\n";
        for (const QString& line : QString::fromStdString(riddle.text).split(u'\n')) {
            out << "  " << line << '\n';
        }
    }
}

}  // namespace

int RunInfo(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Prints the matches and the text of riddles."));
    parser.addHelpOption();
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("One JSON object per riddle, one per line."));
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Riddle files (.vrl)."),
                                 QStringLiteral("FILE..."));
    if (!parser.parse(arguments)) {
        QTextStream(stderr) << "vorlo-cli info: " << parser.errorText() << Qt::endl;
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        QTextStream(stderr) << "vorlo-cli info: no riddle file given" << Qt::endl;
        return 2;
    }

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    int status = 0;
    for (const QString& file : files) {
        const RiddleReadResult read = LoadRiddleFile(file);
        if (!read.ok) {
            PrintFileError(file, QString::fromStdString(read.error));
            status = 1;
            continue;
        }
        if (parser.isSet(json)) {
            out << QJsonDocument(ToJson(file, read.riddle)).toJson(QJsonDocument::Compact) << '\n';
        } else {
            PrintReadable(out, file, read.riddle);
        }
    }
    return status;
}

}  // namespace vorlo::cli
