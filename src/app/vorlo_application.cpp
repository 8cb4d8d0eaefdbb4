// SPDX-License-Identifier: GPL-3.0-or-later
#include "vorlo_application.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QUrl>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <QGuiApplication>
#include <QTimer>

#include "book_commands.h"
#include "button_label_style.h"
#include "desktop_registration.h"
#include "file_commands.h"
#include "interface_language.h"
#include "intro_dialog.h"
#include "main_window.h"
#include "print_commands.h"
#include "riddle_address.h"
#include "riddle_document.h"
#include "sentence_path.h"
#include "settings_store.h"
#include "shown_name.h"
#include "vorlo_version.h"

namespace {

void SetIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("vorlo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORLO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("vorlo"));
}

// Qt's command-line parser words the frame of the help itself, and Qt's
// Hebrew translation lacks these texts: the program's own translation has
// them, so that --help reads in one language.
[[maybe_unused]] const char* const kParserTexts[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Usage: %1"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Options:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Arguments:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help on commandline options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help including Qt specific options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays version information."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown option '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown options: %1."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Missing value after '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unexpected value after '%1'."),
};

// Hebrew texts and a right-to-left layout when the user chose Hebrew in the
// window or, without a choice, the environment asks for it.
void ApplyInterfaceLanguage(QCoreApplication* app) {
    const vorlo::SettingsStore settings;
    if (!vorlo::UsesHebrew(vorlo::StoredLanguage(settings),
                           [](const char* name) { return qgetenv(name); })) {
        return;
    }
    if (!vorlo::InstallHebrewTranslations(app)) {
        return;
    }
    // Dates and sizes in Qt's dialogs as an Israeli reader writes them, also
    // when Hebrew was chosen in the window under another locale.
    QLocale::setDefault(QLocale(QLocale::Hebrew, QLocale::Israel));
    if (qobject_cast<QGuiApplication*>(app)) {
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    }
}

// A message for someone who started the program from a terminal.
void Complain(const QString& message) {
    std::fprintf(stderr, "vorlo: %s\n", qPrintable(message));
}

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption print{QStringLiteral("print"),
                             VorloApplication::tr("Print FILE on the default printer and exit."),
                             VorloApplication::tr("FILE")};
    QCommandLineOption play{
        QStringLiteral("play"),
        VorloApplication::tr("Open FILE to play it, also when it has no solutions beside it.")};

    CommandLine() {
        parser.setApplicationDescription(
            VorloApplication::tr("Matchstick riddles: play and build them."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(print);
        parser.addOption(play);
        parser.addPositionalArgument(VorloApplication::tr("FILE"),
                                     VorloApplication::tr("The riddle (.vrl) to open."),
                                     VorloApplication::tr("[FILE]"));
    }
};

// Whether one of the options `names` is on the command line. Everything
// after "--" is a file (a riddle may be called -h), and so is the value of
// --print.
bool HasArgument(int argc, char** argv, std::initializer_list<const char*> names) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            return false;
        }
        for (const char* name : names) {
            if (std::strcmp(argv[i], name) == 0 ||
                (std::strncmp(argv[i], name, std::strlen(name)) == 0 &&
                 argv[i][std::strlen(name)] == '=')) {
                return true;
            }
        }
        if (std::strcmp(argv[i], "--print") == 0) {
            ++i;  // its value
        }
    }
    return false;
}

// The arguments as the system gave them, after Qt took out its own.
QList<QByteArray> systemArguments;
// The arguments after "--": files only, kept from Qt, which would take
// -reverse or -style there for its own options.
QList<QByteArray> filesAfterDashes;

// "file:" in any form, or any other scheme followed by "://"; "notes:cup.vrl"
// is a name. (Checked by hand: a regular expression costs its compilation at
// every start.)
bool LooksLikeAddress(const QString& argument) {
    if (argument.startsWith(u"file:", Qt::CaseInsensitive)) {
        return true;
    }
    const auto isLetter = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    if (argument.isEmpty() || !isLetter(argument.front())) {
        return false;
    }
    for (qsizetype i = 1; i < argument.size(); ++i) {
        const QChar c = argument[i];
        if (c == u':') {
            return argument.mid(i, 3) == u"://";
        }
        if (!isLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'.' && c != u'-') {
            return false;
        }
    }
    return false;
}

// The riddle file a command-line argument names: a path, or a local file URL
// as file managers pass them. Empty, with the reason, for an address of
// another computer and for a name that did not survive its conversion to
// text (bytes that are not UTF-8), which would open another file.
QString RiddlePathFromArgument(const QString& argument, QString* error) {
    if (LooksLikeAddress(argument) && !QFileInfo::exists(argument)) {
        return RiddlePathFromFileUrl(QUrl(argument, QUrl::StrictMode), argument, error);
    }
    if (argument.contains(QChar::ReplacementCharacter) &&
        !systemArguments.contains(QFile::encodeName(argument)) &&
        !filesAfterDashes.contains(QFile::encodeName(argument))) {
        *error = VorloApplication::tr("%1: the file's name cannot be read (it is not UTF-8)")
                     .arg(SentencePath(argument));
        return {};
    }
    return argument;
}

}  // namespace

VorloApplication::VorloApplication(int& argc, char** argv) : QApplication(argc, argv) {
    SetIdentity();
    ApplyInterfaceLanguage(this);
    vorlo::InstallButtonLabelStyle();
    systemArguments.clear();
    for (int i = 0; i < argc; ++i) {
        systemArguments.append(QByteArray(argv[i]));
    }
}

VorloApplication::~VorloApplication() {
    delete frame_;
}

bool VorloApplication::InitInstance(int* exitCode) {
    *exitCode = 0;
    CommandLine commandLine;
    commandLine.parser.process(*this);  // ends the program for --help and --version
    QString error;
    if (commandLine.parser.isSet(commandLine.print)) {
        const QString path =
            RiddlePathFromArgument(commandLine.parser.value(commandLine.print), &error);
        if (path.isEmpty()) {
            Complain(error);
            *exitCode = 1;
            return false;
        }
        *exitCode = PrintAndExit(path);
        return false;
    }
    QStringList files = commandLine.parser.positionalArguments();
    for (const QByteArray& file : filesAfterDashes) {
        files.append(QFile::decodeName(file));
    }
    if (files.size() > 1) {
        Complain(tr("give at most one riddle file"));
        *exitCode = 1;
        return false;
    }
    const bool play = commandLine.parser.isSet(commandLine.play);
    if (play && files.isEmpty()) {
        Complain(tr("--play needs a riddle file"));
        *exitCode = 1;
        return false;
    }
    const QString file =
        files.isEmpty() ? QString() : RiddlePathFromArgument(files.first(), &error);

    // The information pane and the sample commands find the program's data
    // files through the recorded installation folder, so it is written before
    // the first riddle's views are set up; a moved program repairs it here.
    RecordInstallationFolder();

    // The running copies' windows take slots in the user's runtime folder;
    // each stands a step further than the one before.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    windowSlot_ =
        TakeWindowSlot(runtime.isEmpty() ? QString() : runtime + QStringLiteral("/vorlo"));
    frame_ = new MainWindow(nullptr, windowSlot_.index);
    if (!error.isEmpty()) {
        frame_->ShowError(error);
        *exitCode = 1;
        return false;
    }
    if (!files.isEmpty() &&
        !frame_->Files().OpenDocumentFile(file, play ? FileCommands::PlayChoice::Always
                                                     : FileCommands::PlayChoice::WhenSolutions)) {
        // The message has been shown; a riddle that was asked for and cannot
        // be read ends the program.
        *exitCode = 1;
        return false;
    }
    // Registering with the desktop writes files and starts helper programs,
    // and the greeting builds a dialog: both wait until the window has been
    // painted.
    const bool greet = ShouldGreet();
    connect(
        frame_, &MainWindow::FirstPainted, this,
        [frame = frame_, greet] {
            RegisterWithDesktop();
            if (greet) {
                frame->OnStartupMessage();
                // A new player sees the riddles once the greeting is read:
                // the book opens by itself once, at the first start.
                if (vorlo::SettingsStore().BookDueAtStart()) {
                    frame->Book().ShowBook();
                }
            }
        },
        Qt::SingleShotConnection);
    frame_->show();
    return true;
}

void VorloApplication::RecordInstallationFolder() {
    const QString folder = vorlo::InstallationFolder();
    if (folder.isEmpty()) {
        return;  // no data files beside the program: nothing true to record
    }
    vorlo::SettingsStore().RecordInstallationFolder(folder);
}

void VorloApplication::RegisterWithDesktop() {
    if (qEnvironmentVariableIsSet("VORLO_NO_DESKTOP_REGISTRATION")) {
        return;
    }
    vorlo::RegisterDesktopIntegration(QCoreApplication::applicationFilePath(),
                                      vorlo::UserDataHome());
}

bool VorloApplication::ShouldGreet() {
    // The first start creates the choice as "greet"; later starts read it. A
    // store that cannot be written greets no one.
    return vorlo::SettingsStore().IntroductionDueAtStart();
}

int VorloApplication::PrintAndExit(const QString& path) {
    MainWindow frame;
    frame.ShowError = [](const QString& message) { Complain(message); };
    // The page shows the riddle as its file holds it, never a game.
    if (!frame.Files().OpenDocumentFile(path, FileCommands::PlayChoice::Never)) {
        return 1;
    }
    if (QPrinterInfo::defaultPrinter().isNull()) {
        Complain(tr("there is no default printer to print %1 on").arg(SentencePath(path)));
        return 1;
    }
    // The page shows the board as the window would: lay the window out
    // without putting it on the screen.
    frame.setAttribute(Qt::WA_DontShowOnScreen);
    frame.show();
    QPrinter printer(QPrinter::HighResolution);
    QString error;
    const bool printed = frame.Printing().PrintDirect(&printer, &error);
    frame.hide();
    if (!printed) {
        Complain(error);
        return 1;
    }
    return 0;
}

int VorloApplication::Run() {
    int exitCode = 0;
    if (!InitInstance(&exitCode)) {
        return exitCode;
    }
    return exec();
}

namespace vorlo {

std::string ShellWord(const std::string& word) {
    static const char kPlain[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./,:+=@%";
    if (!word.empty() && word.find_first_not_of(kPlain) == std::string::npos) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ProgramAsStarted(const char* argv0) {
    namespace fs = std::filesystem;
    const std::string invoked = argv0 != nullptr ? argv0 : "";
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    const auto isSelf = [&](const fs::path& candidate) {
        std::error_code ignored;
        return self.empty() || fs::equivalent(candidate, self, ignored);
    };
    if (invoked.find('/') != std::string::npos) {
        // A path the shell took relative to the folder the user is still in.
        if (isSelf(invoked)) {
            return invoked;
        }
    } else if (!invoked.empty() && !self.empty()) {
        // A bare name works again only when PATH leads to this very program.
        const char* path = std::getenv("PATH");
        std::string dirs = path != nullptr ? path : "";
        std::size_t start = 0;
        while (start <= dirs.size()) {
            const std::size_t end = std::min(dirs.find(':', start), dirs.size());
            const std::string dir = dirs.substr(start, end - start);
            const fs::path candidate = fs::path(dir.empty() ? "." : dir) / invoked;
            if (fs::exists(candidate, error) && access(candidate.c_str(), X_OK) == 0) {
                if (isSelf(candidate)) {
                    return invoked;
                }
                break;  // the shell would start another program of that name
            }
            start = end + 1;
        }
    }
    return self.empty() ? (invoked.empty() ? std::string("vorlo") : invoked) : self.string();
}

std::string HeadlessRunCommand(int argc, char** argv) {
    std::string command =
        "xvfb-run -a " + ShellWord(ProgramAsStarted(argc > 0 ? argv[0] : nullptr));
    for (int i = 1; i < argc; ++i) {
        command += ' ';
        command += ShellWord(argv[i]);
    }
    return command;
}

bool HaveWindowSystem() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int VorloMain(int argc, char** argv) {
    // A save beyond the file size limit (ulimit -f) must fail and say so,
    // not end the program with the riddle unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    if (HasArgument(argc, argv, {"-h", "--help", "--help-all", "-v", "--version"})) {
        QCoreApplication app(argc, argv);
        SetIdentity();
        ApplyInterfaceLanguage(&app);
        CommandLine commandLine;
        commandLine.parser.process(app);
        return 0;
    }
    if (!HaveWindowSystem()) {
        if (HasArgument(argc, argv, {"--print"})) {
            // Printing needs no screen.
            qputenv("QT_QPA_PLATFORM", "offscreen");
        } else {
            // The command is printed as the system's bytes: the program's
            // path need not be readable as text.
            std::fprintf(stderr, "vorlo: %s\n  %s\n",
                         qPrintable(VorloApplication::tr(
                             "there is no display to show the window on (neither "
                             "DISPLAY nor WAYLAND_DISPLAY is set).\n"
                             "Run it under a virtual X server, for example:")),
                         HeadlessRunCommand(argc, argv).c_str());
            return 1;
        }
    }
    int qtArgc = argc;
    filesAfterDashes.clear();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            qtArgc = i;
            for (int j = i + 1; j < argc; ++j) {
                filesAfterDashes.append(QByteArray(argv[j]));
            }
            break;
        }
    }
    VorloApplication app(qtArgc, argv);
    return app.Run();
}

}  // namespace vorlo
