// SPDX-License-Identifier: GPL-3.0-or-later
// vorlo-cli equation, solve and generate: riddles of a family (family.h),
// drawn from a line of text, solved by their rule, made from a seed.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "family.h"
#include "family_generator.h"
#include "output.h"
#include "riddle_file.h"
#include "riddle_io.h"
#include "solution_files.h"

namespace vorlo::cli {

namespace {

// The most riddles one run of generate makes.
constexpr uint64_t kMaxGenerateCount = 100000;

// A whole number from `low` to `high`, digits only; none otherwise.
std::optional<uint64_t> ParseWhole(const QString& text, uint64_t low, uint64_t high) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
    }
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok, 10);
    if (!ok || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// The option's whole number, or the usage error's message.
std::optional<uint64_t> WholeOption(const CommandLine& commandLine,
                                    const QCommandLineOption& option, uint64_t low, uint64_t high,
                                    QString* error) {
    const QString text = commandLine.Value(option).text;
    const std::optional<uint64_t> value = ParseWhole(text, low, high);
    if (!value) {
        *error = QCoreApplication::translate("vorlo-cli",
                                             "%1 wants a whole number from %2 to %3, not '%4'")
                     .arg(QStringLiteral("--") + option.names().constLast(), QString::number(low),
                          QString::number(high), text);
    }
    return value;
}

QString MatchText(const Match& m) {
    return QStringLiteral("%1,%2,%3").arg(m.x).arg(m.y).arg(m.angle);
}

QString MovesText(size_t moves) {
    return moves == 1 ? QCoreApplication::translate("vorlo-cli", "1 move")
                      : QCoreApplication::translate("vorlo-cli", "%1 moves").arg(moves);
}

// "2 answers within 1 move": what solve found.
QString FoundText(size_t answers, size_t moves) {
    if (answers == 0) {
        return moves == 1 ? QCoreApplication::translate("vorlo-cli", "no answer within 1 move")
                          : QCoreApplication::translate("vorlo-cli", "no answer within %1 moves")
                                .arg(moves);
    }
    if (answers == 1) {
        return moves == 1 ? QCoreApplication::translate("vorlo-cli", "1 answer within 1 move")
                          : QCoreApplication::translate("vorlo-cli", "1 answer within %1 moves")
                                .arg(moves);
    }
    return moves == 1
               ? QCoreApplication::translate("vorlo-cli", "%1 answers within 1 move").arg(answers)
               : QCoreApplication::translate("vorlo-cli", "%1 answers within %2 moves")
                     .arg(answers)
                     .arg(moves);
}

// The bytes of a riddle file, or false with the reason.
bool RiddleBytes(const std::vector<Match>& matches, const std::string& text, std::string* bytes,
                 QString* error) {
    MatchList list;
    for (const Match& m : matches) {
        list.Append(m);
    }
    return RiddleFileBytes(list, QString::fromStdString(text), bytes, error);
}

// A riddle's solution files as read: unreadable ones and ones far larger
// than a solution of it are passed over, saying so.
struct StoredSolution {
    std::string path;
    std::vector<Match> matches;
};

std::vector<StoredSolution> ReadSolutions(const std::string& riddlePath, size_t riddleMatches) {
    std::vector<StoredSolution> stored;
    for (const std::string& path : SolutionPaths(riddlePath)) {
        const QString name = DisplayName(QByteArray::fromStdString(path));
        uint64_t matches = 0;
        if (TooLargeForSolution(path, riddleMatches, &matches)) {
            PrintFileError(name, QCoreApplication::translate(
                                     "vorlo-cli",
                                     "left unread: it holds %1 matches, more than the %2 a "
                                     "solution of the riddle may hold")
                                     .arg(matches)
                                     .arg(MaxSolutionMatches(riddleMatches)));
            continue;
        }
        const RiddleReadResult read = ReadRiddleFile(path);
        if (!read.ok) {
            PrintFileError(name, RiddleReadErrorText(read));
            continue;
        }
        stored.push_back({path, read.riddle.matches.ToVector()});
    }
    return stored;
}

enum class Existing { Absent, Same, Different, Unreadable };

// Whether the file at `path` holds exactly `bytes`, read no further than
// one byte past them and never blocking: a FIFO or a device is no such file.
Existing CompareFile(const std::string& path, const std::string& bytes, QString* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            return Existing::Absent;
        }
        *error = ErrnoText(errno);
        return Existing::Unreadable;
    }
    struct stat info {};
    Existing result = Existing::Different;
    if (::fstat(fd, &info) != 0) {
        *error = ErrnoText(errno);
        result = Existing::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        *error = NotARegularFileMessage();
        result = Existing::Unreadable;
    } else if (static_cast<uint64_t>(info.st_size) == bytes.size()) {
        std::string held(bytes.size() + 1, '\0');
        size_t got = 0;
        while (got < held.size()) {
            const ssize_t n = ::read(fd, held.data() + got, held.size() - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += static_cast<size_t>(n);
        }
        held.resize(got);
        result = held == bytes ? Existing::Same : Existing::Different;
    }
    ::close(fd);
    return result;
}

}  // namespace

int RunEquation(const Arguments& arguments) {
    const QString command = QStringLiteral("equation");
    CommandLine commandLine(
        command, QCoreApplication::translate("vorlo-cli", "TEXT -o FILE"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Draws an equation such as 5+7=2 as a riddle of seven-segment digits and\n"
            "operators, with the task of moving one match to make it true."));
    const QCommandLineOption output = RiddleOutputOption();
    commandLine.AddOption(output);
    commandLine.AddPositional(
        QCoreApplication::translate("vorlo-cli", "TEXT"),
        QCoreApplication::translate("vorlo-cli", "The equation: digits 0-9, +, - and =."));
    if (const std::optional<int> done = ParseArguments(commandLine, arguments, command)) {
        return *done;
    }
    if (commandLine.Positional().size() != 1) {
        return UsageError(command, QCoreApplication::translate("vorlo-cli", "give one equation"));
    }
    if (!commandLine.IsSet(output)) {
        return UsageError(command, QCoreApplication::translate("vorlo-cli", "-o FILE is required"));
    }
    const QString text = commandLine.Positional().constFirst().text;
    qsizetype glyphs = 0;
    for (const QChar c : text) {
        if (c == u' ') {
            continue;
        }
        if (!((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'=')) {
            return UsageError(
                command,
                QCoreApplication::translate(
                    "vorlo-cli", "'%1' cannot be drawn: '%2' is none of the digits 0-9, +, - and =")
                    .arg(text, QString(c)));
        }
        ++glyphs;
    }
    if (glyphs == 0 || glyphs > static_cast<qsizetype>(equation_geometry::kMaxGlyphs)) {
        return UsageError(command, QCoreApplication::translate(
                                       "vorlo-cli", "an equation has 1 to %1 digits and signs")
                                       .arg(equation_geometry::kMaxGlyphs));
    }
    const std::optional<std::vector<Match>> matches = DrawEquation(text.toStdString());
    if (!matches) {
        return UsageError(
            command, QCoreApplication::translate("vorlo-cli", "'%1' cannot be drawn").arg(text));
    }
    // A picture the solver cannot read back is still a riddle, but none of the family.
    const std::optional<FamilyRiddle> family = FamilyRiddle::Recognize(*matches);
    if (!family || family->Family() != RiddleFamily::Equation ||
        QString::fromStdString(family->Text(family->Start())) != QString(text).remove(u' ')) {
        QTextStream(stderr) << QCoreApplication::translate(
                                   "vorlo-cli",
                                   "vorlo-cli equation: warning: the picture of '%1' does not "
                                   "read back as that equation (one needs a horizontal match), "
                                   "so solve and check do not take it for one")
                                   .arg(text)
                            << Qt::endl;
    }

    const Argument out = commandLine.Value(output);
    const QString outName = DisplayName(out.bytes);
    if (!IsUtf8(out.bytes)) {
        PrintFileError(outName,
                       QCoreApplication::translate(
                           "vorlo-cli", "the name is not UTF-8 and cannot be represented"));
        return 1;
    }
    std::string bytes;
    QString error;
    if (!RiddleBytes(*matches, FamilyTaskText(RiddleFamily::Equation, {1, 0}), &bytes, &error)) {
        PrintFileError(outName, error);
        return 1;
    }
    return WriteRiddleOutput(out, outName, bytes);
}

int RunSolve(const Arguments& arguments) {
    const QString command = QStringLiteral("solve");
    CommandLine commandLine(
        command,
        QCoreApplication::translate("vorlo-cli",
                                    "FILE [--moves N] [--squares K] [--json] [--write-solutions]"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Lists every answer of an equation or squares riddle, told from its picture:\n"
            "each equation that N moves make true, or each way of moving at most N\n"
            "matches that leaves exactly K squares. N and K are those of the riddle's\n"
            "solution files unless given. Status 0 with answers, 1 without, 2 for a file\n"
            "that is no such riddle."));
    const QCommandLineOption movesOption(
        QStringLiteral("moves"),
        QCoreApplication::translate("vorlo-cli", "The most matches an answer moves."),
        QStringLiteral("N"));
    const QCommandLineOption squaresOption(
        QStringLiteral("squares"),
        QCoreApplication::translate("vorlo-cli", "Squares riddles: the squares an answer leaves."),
        QStringLiteral("K"));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QCoreApplication::translate(
            "vorlo-cli",
            "One JSON object: {\"family\", \"riddle\" (equations), \"moves\", \"squares\" "
            "(squares), \"answers\": [{\"text\" (equations), \"moved\", \"matches\"}]}."));
    const QCommandLineOption writeOption(
        QStringLiteral("write-solutions"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Write each answer that no solution file holds yet as the riddle's next "
            "solution file."));
    for (const QCommandLineOption& option : {movesOption, squaresOption, jsonOption, writeOption}) {
        commandLine.AddOption(option);
    }
    commandLine.AddPositional(QCoreApplication::translate("vorlo-cli", "FILE"),
                              QCoreApplication::translate("vorlo-cli", "The riddle (.vrl)."));
    if (const std::optional<int> done = ParseArguments(commandLine, arguments, command)) {
        return *done;
    }
    if (commandLine.Positional().size() != 1) {
        return UsageError(command,
                          QCoreApplication::translate("vorlo-cli", "give one riddle file"));
    }
    QString error;
    std::optional<uint64_t> movesFlag;
    std::optional<uint64_t> squaresFlag;
    if (commandLine.IsSet(movesOption) &&
        !(movesFlag = WholeOption(commandLine, movesOption, 1, kMaxPlaces, &error))) {
        return UsageError(command, error);
    }
    if (commandLine.IsSet(squaresOption) &&
        !(squaresFlag = WholeOption(commandLine, squaresOption, 1, kMaxPlaces, &error))) {
        return UsageError(command, error);
    }
    const bool json = commandLine.IsSet(jsonOption);
    const bool writeSolutions = commandLine.IsSet(writeOption);

    const Argument file = commandLine.Positional().constFirst();
    const QString name = DisplayName(file.bytes);
    const std::string path = file.bytes.toStdString();
    const RiddleReadResult read = ReadRiddleFile(path);
    if (!read.ok) {
        PrintFileError(name, RiddleReadErrorText(read));
        return 2;
    }
    const std::vector<Match> matches = read.riddle.matches.ToVector();
    const std::optional<FamilyRiddle> riddle = FamilyRiddle::Recognize(matches);
    if (!riddle) {
        PrintFileError(name, QCoreApplication::translate(
                                 "vorlo-cli",
                                 "is not an equation or squares riddle: its matches do not each "
                                 "lie on a place of their own"));
        return 2;
    }
    const bool squares = riddle->Family() == RiddleFamily::Squares;
    if (!squares && squaresFlag) {
        return UsageError(command,
                          QCoreApplication::translate("vorlo-cli",
                                                      "--squares is for squares riddles; %1 is "
                                                      "an equation")
                              .arg(name));
    }

    // The rule: the flags, and what they leave open from the solution files.
    std::vector<StoredSolution> stored;
    std::optional<FamilyRule> stated;
    if (writeSolutions || !movesFlag || (squares && !squaresFlag)) {
        stored = ReadSolutions(path, matches.size());
        std::vector<std::vector<Match>> layouts;
        for (const StoredSolution& solution : stored) {
            layouts.push_back(solution.matches);
        }
        stated = RuleOfSolutions(*riddle, layouts);
    }
    if (!stated && (!movesFlag || (squares && !squaresFlag))) {
        const QString wanted =
            !squares || squaresFlag ? QCoreApplication::translate("vorlo-cli", "give --moves N")
            : movesFlag
                ? QCoreApplication::translate("vorlo-cli", "give --squares K")
                : QCoreApplication::translate("vorlo-cli", "give --moves N and --squares K");
        return UsageError(command,
                          QCoreApplication::translate("vorlo-cli",
                                                      "%1 has no solution files to take the rule "
                                                      "from: %2")
                              .arg(name, wanted));
    }
    FamilyRule rule;
    rule.moves = movesFlag ? static_cast<size_t>(*movesFlag) : stated->moves;
    if (squares) {
        rule.squares = squaresFlag ? static_cast<size_t>(*squaresFlag) : stated->squares;
    }

    const std::vector<FamilyAnswer> answers = SolveFamily(*riddle, rule);
    if (json) {
        QString out = squares ? QStringLiteral("{\"family\": \"squares\"")
                              : QStringLiteral("{\"family\": \"equation\", \"riddle\": \"%1\"")
                                    .arg(QString::fromStdString(riddle->Text(riddle->Start())));
        out += QStringLiteral(", \"moves\": %1").arg(rule.moves);
        if (squares) {
            out += QStringLiteral(", \"squares\": %1").arg(rule.squares);
        }
        out += QStringLiteral(", \"answers\": [");
        for (size_t i = 0; i < answers.size(); ++i) {
            out += i == 0 ? QStringLiteral("{") : QStringLiteral(", {");
            if (!squares) {
                out += QStringLiteral("\"text\": \"%1\", ")
                           .arg(QString::fromStdString(answers[i].text));
            }
            out += QStringLiteral("\"moved\": %1, \"matches\": [").arg(answers[i].moved);
            const std::vector<Match> board = AnswerMatches(*riddle, matches, answers[i].board);
            for (size_t m = 0; m < board.size(); ++m) {
                out += QStringLiteral("%1[%2, %3, %4]")
                           .arg(m == 0 ? QString() : QStringLiteral(", "))
                           .arg(board[m].x)
                           .arg(board[m].y)
                           .arg(board[m].angle);
            }
            out += QStringLiteral("]}");
        }
        PrintOut(out + QStringLiteral("]}\n"));
        if (answers.empty()) {
            QTextStream(stderr) << FoundText(0, rule.moves) << Qt::endl;
        }
    } else {
        const QString found = FoundText(answers.size(), rule.moves);
        QString out = squares
                          ? QCoreApplication::translate("vorlo-cli",
                                                        "squares on %1 x %2 cells: %3, leaving %4")
                                .arg(QString::number(riddle->Columns()),
                                     QString::number(riddle->Rows()), found,
                                     rule.squares == 1
                                         ? QCoreApplication::translate("vorlo-cli", "1 square")
                                         : QCoreApplication::translate("vorlo-cli", "%1 squares")
                                               .arg(rule.squares))
                          : QCoreApplication::translate("vorlo-cli", "equation %1: %2")
                                .arg(QString::fromStdString(riddle->Text(riddle->Start())), found);
        out += u'\n';
        for (size_t i = 0; i < answers.size(); ++i) {
            QString shown;
            if (squares) {
                QStringList moves;
                for (const MatchMove& move : AnswerMoves(*riddle, matches, answers[i].board)) {
                    moves.append(MatchText(move.from) + QStringLiteral(" -> ") +
                                 MatchText(move.to));
                }
                shown = moves.join(QStringLiteral("; "));
            } else {
                shown = QString::fromStdString(answers[i].text);
            }
            out += QCoreApplication::translate("vorlo-cli", "answer %1 (%2): %3")
                       .arg(QString::number(i + 1), MovesText(answers[i].moved), shown) +
                   u'\n';
        }
        PrintOut(out);
    }

    const int status = answers.empty() ? 1 : 0;
    if (writeSolutions) {
        // Reports go where they do not spoil the JSON.
        const auto report = [json](const QString& line) {
            if (json) {
                QTextStream(stderr) << line << Qt::endl;
            } else {
                PrintOut(line + u'\n');
            }
        };
        for (size_t i = 0; i < answers.size(); ++i) {
            const StoredSolution* already = nullptr;
            for (const StoredSolution& solution : stored) {
                if (riddle->PlacesOf(solution.matches) == answers[i].board) {
                    already = &solution;
                    break;
                }
            }
            if (already) {
                report(QCoreApplication::translate("vorlo-cli", "answer %1 is stored in %2")
                           .arg(QString::number(i + 1),
                                DisplayName(QByteArray::fromStdString(already->path))));
                continue;
            }
            // The first free number, so that no file is replaced.
            const std::string target = NextSolutionPath(path);
            const QString targetName = DisplayName(QByteArray::fromStdString(target));
            if (!IsUtf8(QByteArray::fromStdString(target))) {
                PrintFileError(targetName,
                               QCoreApplication::translate(
                                   "vorlo-cli", "the name is not UTF-8 and cannot be represented"));
                return 1;
            }
            std::vector<Match> board = AnswerMatches(*riddle, matches, answers[i].board);
            std::string bytes;
            if (!RiddleBytes(board, read.riddle.text, &bytes, &error) ||
                !WriteFileAtomically(QString::fromStdString(target), bytes, &error)) {
                PrintFileError(targetName, error);
                return 1;
            }
            stored.push_back({target, std::move(board)});
            report(QCoreApplication::translate("vorlo-cli", "answer %1 written to %2")
                       .arg(QString::number(i + 1), targetName));
        }
    }
    return status;
}

int RunGenerate(const Arguments& arguments) {
    const QString command = QStringLiteral("generate");
    CommandLine commandLine(
        command,
        QCoreApplication::translate("vorlo-cli",
                                    "equations|squares -o DIR [--count C] [--moves N] [--seed S]"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Makes new riddles, each with all its answers as solution files:\n"
            "DIR/equation-001.vrl, DIR/equation-001.solution.vrl, ... (squares-001.vrl\n"
            "for squares). The same seed makes the same files. A file that exists with\n"
            "other bytes is never replaced."));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QCoreApplication::translate("vorlo-cli", "The folder to write to; made when missing."),
        QCoreApplication::translate("vorlo-cli", "DIR"));
    const QCommandLineOption countOption(
        QStringLiteral("count"),
        QCoreApplication::translate("vorlo-cli", "How many riddles (default 10)."),
        QStringLiteral("C"), QStringLiteral("10"));
    const QCommandLineOption movesOption(
        QStringLiteral("moves"),
        QCoreApplication::translate("vorlo-cli",
                                    "The moves of every riddle: 1 or 2 for equations, 1 to 4 for "
                                    "squares (default: each riddle its own)."),
        QStringLiteral("N"));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"),
        QCoreApplication::translate("vorlo-cli",
                                    "Where the riddles start from, a whole number (default 1)."),
        QStringLiteral("S"), QStringLiteral("1"));
    for (const QCommandLineOption& option : {outputOption, countOption, movesOption, seedOption}) {
        commandLine.AddOption(option);
    }
    commandLine.AddPositional(QCoreApplication::translate("vorlo-cli", "FAMILY"),
                              QCoreApplication::translate("vorlo-cli", "equations or squares."));
    if (const std::optional<int> done = ParseArguments(commandLine, arguments, command)) {
        return *done;
    }
    const Arguments& positional = commandLine.Positional();
    if (positional.size() != 1 ||
        (positional[0].text != u"equations" && positional[0].text != u"squares")) {
        return UsageError(command, QCoreApplication::translate(
                                       "vorlo-cli", "give the family: equations or squares"));
    }
    if (!commandLine.IsSet(outputOption)) {
        return UsageError(command, QCoreApplication::translate("vorlo-cli", "-o DIR is required"));
    }
    GenerateOptions options;
    options.family =
        positional[0].text == u"squares" ? RiddleFamily::Squares : RiddleFamily::Equation;
    QString error;
    const std::optional<uint64_t> count =
        WholeOption(commandLine, countOption, 1, kMaxGenerateCount, &error);
    if (!count) {
        return UsageError(command, error);
    }
    options.count = static_cast<size_t>(*count);
    if (commandLine.IsSet(movesOption)) {
        const std::optional<uint64_t> moves = WholeOption(
            commandLine, movesOption, 1,
            options.family == RiddleFamily::Equation ? kMaxEquationMoves : kMaxSquaresMoves,
            &error);
        if (!moves) {
            return UsageError(command, error);
        }
        options.moves = static_cast<size_t>(*moves);
    }
    const std::optional<uint64_t> seed =
        WholeOption(commandLine, seedOption, 0, std::numeric_limits<uint64_t>::max(), &error);
    if (!seed) {
        return UsageError(command, error);
    }
    options.seed = *seed;

    const Argument folder = commandLine.Value(outputOption);
    const QString folderName = DisplayName(folder.bytes);
    if (!IsUtf8(folder.bytes)) {
        PrintFileError(folderName,
                       QCoreApplication::translate(
                           "vorlo-cli", "the name is not UTF-8 and cannot be represented"));
        return 1;
    }
    std::error_code made;
    std::filesystem::create_directories(std::filesystem::path(folder.bytes.toStdString()), made);
    if (made) {
        PrintFileError(folderName, ErrnoText(made.value()));
        return 1;
    }

    const std::vector<GeneratedRiddle> riddles = GenerateRiddles(options);
    // Every file first, so that a refusal leaves the folder as it was.
    struct Planned {
        std::string path;
        std::string bytes;
    };
    std::vector<Planned> files;
    const std::string prefix = folder.bytes.toStdString() + "/" +
                               (options.family == RiddleFamily::Squares ? "squares-" : "equation-");
    for (size_t i = 0; i < riddles.size(); ++i) {
        std::string number = std::to_string(i + 1);
        number.insert(0, number.size() < 3 ? 3 - number.size() : 0, '0');
        const std::string riddlePath = prefix + number + ".vrl";
        Planned riddle{riddlePath, {}};
        if (!RiddleBytes(riddles[i].matches, riddles[i].text, &riddle.bytes, &error)) {
            PrintFileError(DisplayName(QByteArray::fromStdString(riddlePath)), error);
            return 1;
        }
        files.push_back(std::move(riddle));
        for (size_t s = 0; s < riddles[i].solutions.size(); ++s) {
            Planned solution{SolutionPath(riddlePath, static_cast<int>(s + 1)), {}};
            if (!RiddleBytes(riddles[i].solutions[s], riddles[i].text, &solution.bytes, &error)) {
                PrintFileError(DisplayName(QByteArray::fromStdString(solution.path)), error);
                return 1;
            }
            files.push_back(std::move(solution));
        }
    }
    std::vector<bool> write(files.size(), false);
    for (size_t i = 0; i < files.size(); ++i) {
        const QString name = DisplayName(QByteArray::fromStdString(files[i].path));
        switch (CompareFile(files[i].path, files[i].bytes, &error)) {
            case Existing::Absent:
                write[i] = true;
                break;
            case Existing::Same:
                break;
            case Existing::Different:
                PrintFileError(name, QCoreApplication::translate(
                                         "vorlo-cli",
                                         "exists with other contents and is left as it is; "
                                         "nothing was written"));
                return 1;
            case Existing::Unreadable:
                PrintFileError(name, error);
                return 1;
        }
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (write[i] &&
            !WriteFileAtomically(QString::fromStdString(files[i].path), files[i].bytes, &error)) {
            PrintFileError(DisplayName(QByteArray::fromStdString(files[i].path)), error);
            return 1;
        }
    }
    if (riddles.size() < options.count) {
        QTextStream(stderr) << QCoreApplication::translate(
                                   "vorlo-cli",
                                   "vorlo-cli generate: only %1 of the %2 riddles asked for "
                                   "could be made")
                                   .arg(riddles.size())
                                   .arg(options.count)
                            << Qt::endl;
        return 1;
    }
    return 0;
}

}  // namespace vorlo::cli
