// SPDX-License-Identifier: GPL-3.0-or-later
// vorlo-cli check: whether an attempt solves a riddle, and how many matches
// it moved.

#include <QCoreApplication>
#include <optional>
#include <utility>
#include <vector>

#include "commands.h"
#include "family.h"
#include "family_judge.h"
#include "incremental_pairing.h"
#include "judge.h"
#include "output.h"
#include "riddle_file.h"
#include "solution_files.h"

namespace vorlo::cli {

namespace {

std::optional<Riddle> Read(const Argument& file) {
    RiddleReadResult read = ReadRiddleFile(file.bytes.toStdString());
    if (!read.ok) {
        PrintFileError(DisplayName(file.bytes), QString::fromStdString(read.error));
        return std::nullopt;
    }
    return std::move(read.riddle);
}

}  // namespace

int RunCheck(const Arguments& arguments) {
    const QString command = QStringLiteral("check");
    CommandLine commandLine(
        command,
        QCoreApplication::translate(
            "vorlo-cli", "RIDDLE ATTEMPT | --solution SOLUTION [--riddle RIDDLE] ATTEMPT"),
        QCoreApplication::translate(
            "vorlo-cli",
            "Says whether ATTEMPT solves the riddle: \"solved\" (status 0) or \"not solved\"\n"
            "(status 1), with the number of matches moved: the attempt's matches left over\n"
            "when they are paired, stick for stick, with the riddle's. Given RIDDLE, its\n"
            "solution files (RIDDLE.solution.vrl, RIDDLE.solution-2.vrl, ...) are the\n"
            "solutions; an equation or squares riddle is solved by any answer of the rule\n"
            "they show (as many moves, as many squares), stored or not. A solution's\n"
            "riddle is taken from --riddle or else from the solution's name; without\n"
            "one, the moved count is left out."));
    const QCommandLineOption solutionOption(
        QStringLiteral("solution"),
        QCoreApplication::translate("vorlo-cli", "The solution to compare with."),
        QCoreApplication::translate("vorlo-cli", "SOLUTION"));
    const QCommandLineOption riddleOption(
        QStringLiteral("riddle"),
        QCoreApplication::translate("vorlo-cli", "The riddle, to count the moved matches."),
        QCoreApplication::translate("vorlo-cli", "RIDDLE"));
    commandLine.AddOption(solutionOption);
    commandLine.AddOption(riddleOption);
    commandLine.AddPositional(
        QCoreApplication::translate("vorlo-cli", "ATTEMPT"),
        QCoreApplication::translate("vorlo-cli", "The board to check (.vrl)."));
    if (const std::optional<int> done = ParseArguments(commandLine, arguments, command)) {
        return *done;
    }
    const Arguments& positional = commandLine.Positional();
    const bool bySolution = commandLine.IsSet(solutionOption);
    if (positional.size() != (bySolution ? 1 : 2)) {
        return UsageError(
            command,
            bySolution
                ? QCoreApplication::translate("vorlo-cli", "give one attempt after the solution")
                : QCoreApplication::translate("vorlo-cli", "give a riddle and an attempt"));
    }
    if (!bySolution && commandLine.IsSet(riddleOption)) {
        return UsageError(
            command, QCoreApplication::translate("vorlo-cli", "--riddle goes with --solution"));
    }

    std::vector<QByteArray> solutionFiles;
    std::optional<QByteArray> riddleFile;
    if (bySolution) {
        solutionFiles.push_back(commandLine.Value(solutionOption).bytes);
        if (commandLine.IsSet(riddleOption)) {
            riddleFile = commandLine.Value(riddleOption).bytes;
        } else {
            // From the name's bytes: a name that is not UTF-8 stays itself.
            if (const std::optional<std::string> riddle =
                    RiddleOfSolution(solutionFiles.front().toStdString())) {
                riddleFile = QByteArray::fromStdString(*riddle);
            }
        }
    } else {
        riddleFile = positional[0].bytes;
        for (const std::string& path : SolutionPaths(riddleFile->toStdString())) {
            solutionFiles.push_back(QByteArray::fromStdString(path));
        }
        if (solutionFiles.empty()) {
            PrintFileError(
                DisplayName(*riddleFile),
                QCoreApplication::translate("vorlo-cli", "the riddle has no solution files"));
        }
    }

    const std::optional<Riddle> attempt = Read(positional.back());
    if (!attempt) {
        return 1;
    }
    std::optional<Riddle> riddle;
    if (riddleFile) {
        riddle = Read(Argument::FromBytes(*riddleFile));
        if (!riddle) {
            return 1;
        }
    }
    // The window's judge and moved count, on the attempt as a whole board.
    std::vector<std::vector<Match>> solutions;
    for (const QByteArray& file : solutionFiles) {
        // A solution far larger than its riddle is none of its solutions,
        // and is not read whole to find that out.
        uint64_t matches = 0;
        if (riddle && TooLargeForSolution(file.toStdString(), riddle->matches.Count(), &matches)) {
            PrintFileError(
                DisplayName(file),
                QCoreApplication::translate(
                    "vorlo-cli",
                    "left unread: it holds %1 matches, more than the %2 a solution of the "
                    "riddle may hold")
                    .arg(matches)
                    .arg(MaxSolutionMatches(riddle->matches.Count())));
            continue;
        }
        const std::optional<Riddle> solution = Read(Argument::FromBytes(file));
        if (!solution) {
            return 1;
        }
        solutions.push_back(solution->matches.ToVector());
    }
    // A riddle of a family (family.h) is solved by any answer of the rule
    // its solution files show, stored or not.
    std::optional<FamilyRule> rule;
    std::optional<FamilyRiddle> family;
    if (riddle && !bySolution) {
        family = FamilyRiddle::Recognize(riddle->matches.ToVector());
        if (family) {
            rule = RuleOfSolutions(*family, solutions);
            if (rule && !TaskStatesRule(riddle->text, family->Family(), *rule)) {
                rule.reset();
            }
        }
    }
    LayoutJudge judge(std::move(solutions));
    judge.Reset(attempt->matches);
    bool solved = judge.Solved();
    if (!solved && rule) {
        RuleJudge byRule(std::move(*family), *rule);
        byRule.Reset(attempt->matches);
        solved = byRule.Solved();
    }
    // The verdict is output for scripts as much as for people: the same
    // words in every language.
    QString verdict = solved ? QStringLiteral("solved") : QStringLiteral("not solved");
    if (riddle) {
        IncrementalPairing moves(riddle->matches);
        moves.Reset(attempt->matches);
        verdict += QStringLiteral(", moved %1").arg(moves.BoardUnpaired());
    }
    PrintOut(verdict + u'\n');
    return solved ? 0 : 1;
}

}  // namespace vorlo::cli
