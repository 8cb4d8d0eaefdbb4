// vorlo-cli: inspect, create and render riddle files.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <csignal>
#include <memory>

#include "commands.h"

namespace {

const char kUsage[] =
    "Usage: vorlo-cli COMMAND [options] [arguments]\n"
    "\n"
    "Commands:\n"
    "  info [--json] FILE...        print the matches and the text of riddles\n"
    "  create -o FILE [--text TEXT | --text-file PATH] [x,y,angle ...]\n"
    "                               write a riddle\n"
    "  render FILE -o OUT [--size WxH] [--selected N] [--margin PX]\n"
    "                               draw a riddle as PNG, SVG or PDF\n"
    "  thumbnail IN OUT SIZE        a PNG preview of at most SIZE x SIZE\n"
    "\n"
    "vorlo-cli COMMAND --help shows the options of one command.\n"
    "Options: --help, --version\n";

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

}  // namespace vorlo::cli

int main(int argc, char* argv[]) {
    // Writing beyond the file size limit (ulimit -f) fails with a message and
    // status 1 instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
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
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1"));

    QStringList arguments = QCoreApplication::arguments();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        QTextStream(stdout) << kUsage;
        return 0;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        QTextStream(stdout) << "vorlo-cli 1.1" << Qt::endl;
        return 0;
    }
    arguments.removeAt(0);  // the program; the command stays first, as the parser's name
    if (command == QLatin1String("info")) {
        return vorlo::cli::RunInfo(arguments);
    }
    if (command == QLatin1String("create")) {
        return vorlo::cli::RunCreate(arguments);
    }
    if (command == QLatin1String("render")) {
        return vorlo::cli::RunRender(arguments);
    }
    if (command == QLatin1String("thumbnail")) {
        return vorlo::cli::RunThumbnail(arguments);
    }
    QTextStream(stderr) << (command.isEmpty()
                                ? QStringLiteral("vorlo-cli: no command given\n")
                                : QStringLiteral("vorlo-cli: unknown command '%1'\n").arg(command))
                        << kUsage;
    return 2;
}
