// SPDX-License-Identifier: GPL-3.0-or-later
// vorlo-cli: inspect, create, render, check, solve and generate riddle files.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <csignal>
#include <memory>

#include "commands.h"
#include "interface_language.h"
#include "output.h"
#include "riddle_io.h"
#include "vorlo_version.h"

namespace {

const char kUsage[] = QT_TRANSLATE_NOOP(
    "vorlo-cli",
    "Usage: vorlo-cli COMMAND [options] [arguments]\n"
    "\n"
    "Commands:\n"
    "  info [--json] FILE...        print the matches and the text of riddles\n"
    "  create -o FILE [--text TEXT | --text-file PATH] [--text-encoding ENCODING]\n"
    "         [x,y,angle ...]       write a riddle\n"
    "  render FILE -o OUT [--format FORMAT] [--size WxH] [--selected N] [--margin PX]\n"
    "         [--with-text]\n"
    "                               draw a riddle as PNG, SVG or PDF\n"
    "  thumbnail IN OUT SIZE        a PNG preview of at most SIZE x SIZE\n"
    "  check RIDDLE ATTEMPT | check --solution SOLUTION [--riddle RIDDLE] ATTEMPT\n"
    "                               whether ATTEMPT solves the riddle, and the\n"
    "                               number of matches moved\n"
    "  equation TEXT -o FILE        draw an equation (5+7=2) as a riddle\n"
    "  solve FILE [--moves N] [--squares K] [--json] [--write-solutions]\n"
    "                               every answer of an equation or squares riddle\n"
    "  generate equations|squares -o DIR [--count C] [--moves N] [--seed S]\n"
    "                               make new riddles with their solution files\n"
    "\n"
    "vorlo-cli COMMAND --help shows the options of one command. An output of -\n"
    "is standard output; negative coordinates need no quoting (-5,7,-30).\n"
    "Options: --help, --version\n");

QString Usage() {
    return QCoreApplication::translate("vorlo-cli", kUsage);
}

QtMessageHandler defaultHandler = nullptr;

void QuietAboutRuntimeFolder(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) {
        return;
    }
    defaultHandler(type, context, message);
}

}  // namespace

namespace vorlo::cli {

void PrintFileError(const QString& file, const QString& reason) {
    QTextStream(stderr) << "vorlo-cli: " << file << ": " << reason << Qt::endl;
}

int UsageError(const QString& command, const QString& message) {
    QTextStream(stderr) << "vorlo-cli " << command << ": " << message << Qt::endl;
    return 2;
}

QCommandLineOption RiddleOutputOption() {
    return QCommandLineOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QCoreApplication::translate("vorlo-cli",
                                    "The riddle file to write; - writes it to standard output."),
        QCoreApplication::translate("vorlo-cli", "FILE"));
}

int WriteRiddleOutput(const Argument& out, const QString& outName, const std::string& bytes) {
    if (out.bytes == "-") {
        WriteOut(QByteArray::fromStdString(bytes));
        return 0;
    }
    QString error;
    if (!WriteFileAtomically(out.text, bytes, &error)) {
        PrintFileError(outName, error);
        return 1;
    }
    return 0;
}

std::optional<int> ParseArguments(CommandLine& commandLine, const Arguments& arguments,
                                  const QString& command) {
    QString error;
    if (!commandLine.Parse(arguments, &error)) {
        return UsageError(command, error);
    }
    if (commandLine.HelpWanted()) {
        PrintOut(commandLine.HelpText());
        return 0;
    }
    return std::nullopt;
}

}  // namespace vorlo::cli

namespace {

int RunCommand(const QString& command, const vorlo::cli::Arguments& arguments) {
    using namespace vorlo::cli;
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        PrintOut(Usage());
        return 0;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        PrintOut(QStringLiteral("vorlo-cli " VORLO_VERSION "\n"));
        return 0;
    }
    if (command == QLatin1String("info")) {
        return RunInfo(arguments);
    }
    if (command == QLatin1String("create")) {
        return RunCreate(arguments);
    }
    if (command == QLatin1String("render")) {
        return RunRender(arguments);
    }
    if (command == QLatin1String("thumbnail")) {
        return RunThumbnail(arguments);
    }
    if (command == QLatin1String("check")) {
        return RunCheck(arguments);
    }
    if (command == QLatin1String("equation")) {
        return RunEquation(arguments);
    }
    if (command == QLatin1String("solve")) {
        return RunSolve(arguments);
    }
    if (command == QLatin1String("generate")) {
        return RunGenerate(arguments);
    }
    QTextStream(stderr)
        << (command.isEmpty()
                ? QCoreApplication::translate("vorlo-cli", "vorlo-cli: no command given\n")
                : QCoreApplication::translate("vorlo-cli", "vorlo-cli: unknown command '%1'\n")
                      .arg(command))
        << Usage();
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Writing beyond the file size limit (ulimit -f) fails with a message and
    // status 1 instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Before Qt or a command opens anything that could take a closed
    // stream's number.
    vorlo::cli::HoldClosedStandardStreams();
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool drawing =
        command == QLatin1String("render") || command == QLatin1String("thumbnail");

    // Drawing needs a GUI application object, but never a display.
    std::unique_ptr<QCoreApplication> app;
    if (drawing) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // Run from a file manager's thumbnailer or a script there may be no
        // session's runtime folder; the offscreen platform needs none, so Qt's
        // remark about it is only noise on standard error.
        defaultHandler = qInstallMessageHandler(QuietAboutRuntimeFolder);
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("vorlo-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORLO_VERSION));
    // A command-line tool speaks the language of the environment it runs in.
    if (vorlo::EnvironmentWantsHebrew()) {
        vorlo::InstallHebrewTranslations(app.get());
    }

    // The arguments after the command, as the system gave them (Qt has taken
    // out its own options): file names keep their bytes.
    vorlo::cli::Arguments arguments;
    for (int i = 2; i < argc; ++i) {
        arguments.append(vorlo::cli::Argument::FromBytes(QByteArray(argv[i])));
    }
    const int status = RunCommand(command, arguments);
    QString error;
    bool closed = false;
    if (!vorlo::cli::FinishStandardOutput(&error, &closed)) {
        if (closed) {
            QTextStream(stderr) << QCoreApplication::translate(
                                       "vorlo-cli", "vorlo-cli: standard output is closed")
                                << Qt::endl;
            return 1;
        }
        vorlo::cli::PrintFileError(QCoreApplication::translate("vorlo-cli", "standard output"),
                                   error);
        return 1;
    }
    return status;
}
