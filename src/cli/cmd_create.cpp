#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>
#include <limits>

#include "commands.h"
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
bool ParseMatch(const QString& text, CMatch* match) {
    const QStringList parts = text.split(u',');
    return parts.size() == 3 && ParseInt32(parts[0], &match->x) &&
           ParseInt32(parts[1], &match->y) && ParseInt32(parts[2], &match->angle);
}

// Paragraphs end with "\n" in the riddle; a text file's own final line end
// is not a paragraph of the task.
QString NormaliseText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(u'\n')) {
        text.chop(1);
    }
    return text;
}

}  // namespace

int RunCreate(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a riddle with the given matches, in that order, and text."));
    parser.addHelpOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The riddle file to write."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption text(QStringLiteral("text"),
                                  QStringLiteral("The task text (\\n between paragraphs)."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption textFile(QStringLiteral("text-file"),
                                      QStringLiteral("Read the task text from a UTF-8 file."),
                                      QStringLiteral("PATH"));
    parser.addOptions({output, text, textFile});
    parser.addPositionalArgument(QStringLiteral("MATCH"),
                                 QStringLiteral("A match as x,y,angle (whole numbers)."),
                                 QStringLiteral("[x,y,angle ...]"));
    if (!parser.parse(arguments)) {
        QTextStream(stderr) << "vorlo-cli create: " << parser.errorText() << Qt::endl;
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.isSet(output)) {
        QTextStream(stderr) << "vorlo-cli create: -o FILE is required" << Qt::endl;
        return 2;
    }
    if (parser.isSet(text) && parser.isSet(textFile)) {
        QTextStream(stderr) << "vorlo-cli create: give --text or --text-file, not both" << Qt::endl;
        return 2;
    }

    MatchList matches;
    for (const QString& argument : parser.positionalArguments()) {
        CMatch match;
        if (!ParseMatch(argument, &match)) {
            QTextStream(stderr) << "vorlo-cli create: '" << argument
                                << "' is not a match: write x,y,angle as whole numbers" << Qt::endl;
            return 2;
        }
        matches.Append(match);
    }

    QString riddleText;
    if (parser.isSet(text)) {
        riddleText = parser.value(text);
        riddleText.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        riddleText = NormaliseText(riddleText);
    } else if (parser.isSet(textFile)) {
        QFile file(parser.value(textFile));
        if (!file.open(QIODevice::ReadOnly)) {
            PrintFileError(file.fileName(), file.errorString());
            return 1;
        }
        riddleText = NormaliseText(QString::fromUtf8(file.readAll()));
    }

    QString error;
    if (!SaveRiddleFile(parser.value(output), matches, riddleText, &error)) {
        PrintFileError(parser.value(output), error);
        return 1;
    }
    return 0;
}

}  // namespace vorlo::cli
