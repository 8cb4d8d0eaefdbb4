// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop registration written into temporary data homes, checked by the
// desktop's own tools where they are installed.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "desktop_registration.h"

using namespace vorlo;

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QString EntryPath(const QString& home) {
    return home + QStringLiteral("/applications/vorlo.desktop");
}
QString MimePath(const QString& home) {
    return home + QStringLiteral("/mime/packages/vorlo.xml");
}
QString DocIconPath(const QString& home) {
    return home +
           QStringLiteral("/icons/hicolor/scalable/mimetypes/application-x-vorlo-riddle.svg");
}
QString AppIconPath(const QString& home) {
    return home + QStringLiteral("/icons/hicolor/scalable/apps/vorlo.svg");
}

// The data folders of a machine without Vorlo installed.
RegistrationOptions NoTools() {
    RegistrationOptions options;
    options.runDatabaseTools = false;
    options.systemDataDirs = {QStringLiteral("/nonexistent/share")};
    return options;
}

// Runs a tool; returns its exit code, or -1 when it could not run.
int Run(const QString& program, const QStringList& arguments, QString* output = nullptr,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        return -1;
    }
    if (output != nullptr) {
        *output =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())
                .trimmed();
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace

class TestDesktopRegistration : public QObject {
    Q_OBJECT

private slots:
    void writesAllFilesOnFirstStart();
    void rewritesOnlyWhatChanged();
    void repairsAChangedFile();
    void execValueQuotesAwkwardPaths_data();
    void execValueQuotesAwkwardPaths();
    void desktopEntryIsValid();
    void mimePackageIsWellFormed();
    void skipsWhenInstalledSystemWide();
    void unwritableHomeIsSilent();
    void leavesAFifoAlone();
    void replacesAPlantedLink_data();
    void replacesAPlantedLink();
    void fileManagerSeesRiddleType();
    void installationFolderFindsThePage();
};

void TestDesktopRegistration::writesAllFilesOnFirstStart() {
    QTemporaryDir home;
    const RegistrationResult result =
        RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), NoTools());
    QVERIFY(!result.skippedInstalled);
    QVERIFY(result.mimeWritten);
    QVERIFY(result.desktopWritten);
    QVERIFY(result.iconWritten);
    QVERIFY(result.appIconWritten);

    const QString entry = ReadText(EntryPath(home.path()));
    const QStringList lines = entry.split(u'\n');
    for (const char* line : {"[Desktop Entry]", "Type=Application", "Exec=/opt/games/vorlo %f",
                             "TryExec=/opt/games/vorlo", "MimeType=application/x-vorlo-riddle;",
                             "Categories=Game;LogicGame;", "Icon=vorlo"}) {
        QVERIFY2(lines.contains(QLatin1String(line)), line);
    }
    const QString mime = ReadText(MimePath(home.path()));
    QVERIFY(mime.contains(QStringLiteral("<mime-type type=\"application/x-vorlo-riddle\">")));
    QVERIFY(mime.contains(QStringLiteral("<comment>Vorlo Riddle</comment>")));
    QVERIFY(mime.contains(QStringLiteral("<glob pattern=\"*.vrl\"/>")));
    QVERIFY(mime.contains(QStringLiteral("<icon name=\"application-x-vorlo-riddle\"/>")));
    QVERIFY(ReadText(DocIconPath(home.path())).contains(QStringLiteral("<svg")));
    QVERIFY(ReadText(AppIconPath(home.path())).contains(QStringLiteral("<svg")));
}

void TestDesktopRegistration::rewritesOnlyWhatChanged() {
    QTemporaryDir home;
    RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), NoTools());
    const QDateTime entryTime = QFileInfo(EntryPath(home.path())).lastModified();
    const QDateTime mimeTime = QFileInfo(MimePath(home.path())).lastModified();
    QTest::qWait(20);  // so that a rewrite would show in the times

    // The same program again: nothing is touched.
    RegistrationResult again =
        RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), NoTools());
    QVERIFY(!again.mimeWritten && !again.desktopWritten && !again.iconWritten &&
            !again.appIconWritten);
    QCOMPARE(QFileInfo(EntryPath(home.path())).lastModified(), entryTime);
    QCOMPARE(QFileInfo(MimePath(home.path())).lastModified(), mimeTime);

    // The program moved: only the opener changes.
    const RegistrationResult moved =
        RegisterDesktopIntegration(QStringLiteral("/home/kim/vorlo/vorlo"), home.path(), NoTools());
    QVERIFY(moved.desktopWritten);
    QVERIFY(!moved.mimeWritten && !moved.iconWritten && !moved.appIconWritten);
    QVERIFY(ReadText(EntryPath(home.path()))
                .split(u'\n')
                .contains(QStringLiteral("Exec=/home/kim/vorlo/vorlo %f")));
    QCOMPARE(QFileInfo(MimePath(home.path())).lastModified(), mimeTime);
}

void TestDesktopRegistration::repairsAChangedFile() {
    QTemporaryDir home;
    RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), NoTools());
    const QString original = ReadText(MimePath(home.path()));
    {
        QFile file(MimePath(home.path()));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<broken");
    }
    const RegistrationResult result =
        RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), NoTools());
    QVERIFY(result.mimeWritten);
    QVERIFY(!result.desktopWritten);
    QCOMPARE(ReadText(MimePath(home.path())), original);
}

void TestDesktopRegistration::execValueQuotesAwkwardPaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/usr/games/vorlo"
                           << "/usr/games/vorlo %f";
    QTest::newRow("space") << "/home/kim/My Games/vorlo"
                           << "\"/home/kim/My Games/vorlo\" %f";
    QTest::newRow("percent") << "/opt/100%/vorlo"
                             << "/opt/100%%/vorlo %f";
    QTest::newRow("dollar and quote") << "/opt/a$b\"c/vorlo"
                                      << "\"/opt/a\\\\$b\\\\\"c/vorlo\" %f";
    QTest::newRow("backslash") << "/opt/a\\b/vorlo"
                               << "\"/opt/a\\\\\\\\b/vorlo\" %f";
    QTest::newRow("hebrew") << QStringLiteral("/home/דנה/vorlo")
                            << QStringLiteral("/home/דנה/vorlo %f");
    QTest::newRow("newline refused") << "/opt/a\nb/vorlo"
                                     << "";
    QTest::newRow("empty refused") << ""
                                   << "";
}

void TestDesktopRegistration::execValueQuotesAwkwardPaths() {
    QFETCH(QString, path);
    QFETCH(QString, exec);
    QCOMPARE(DesktopExecValue(path), exec);
}

void TestDesktopRegistration::desktopEntryIsValid() {
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty()) {
        QSKIP("desktop-file-validate is not installed");
    }
    for (const QString& program :
         {QStringLiteral("/opt/games/vorlo"), QStringLiteral("/home/kim/My Games (old)/vorlo"),
          QStringLiteral("/opt/50% off/a$b\\c/vorlo")}) {
        QTemporaryDir home;
        RegisterDesktopIntegration(program, home.path(), NoTools());
        QString output;
        QCOMPARE(Run(validator, {EntryPath(home.path())}, &output), 0);
        QVERIFY2(output.isEmpty(), qPrintable(program + QStringLiteral(": ") + output));
    }
}

void TestDesktopRegistration::mimePackageIsWellFormed() {
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty()) {
        QSKIP("xmllint is not installed");
    }
    QTemporaryDir home;
    RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), NoTools());
    QString output;
    QCOMPARE(Run(xmllint, {QStringLiteral("--noout"), MimePath(home.path())}, &output), 0);
    QVERIFY2(output.isEmpty(), qPrintable(output));
    QCOMPARE(Run(xmllint, {QStringLiteral("--noout"), DocIconPath(home.path())}, &output), 0);
}

void TestDesktopRegistration::skipsWhenInstalledSystemWide() {
    QTemporaryDir prefix;
    QVERIFY(QDir().mkpath(prefix.path() + QStringLiteral("/bin")));
    QVERIFY(QDir().mkpath(prefix.path() + QStringLiteral("/share/applications")));
    const QString program = prefix.path() + QStringLiteral("/bin/vorlo");
    RegistrationOptions options = NoTools();
    options.systemDataDirs = {QStringLiteral("/nonexistent"),
                              prefix.path() + QStringLiteral("/share/")};

    // The prefix is a system data folder but holds no entry: register per user.
    QTemporaryDir home;
    QVERIFY(RegisterDesktopIntegration(program, home.path(), options).desktopWritten);

    QFile entry(prefix.path() + QStringLiteral("/share/applications/vorlo.desktop"));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.close();
    QTemporaryDir home2;
    const RegistrationResult installed = RegisterDesktopIntegration(program, home2.path(), options);
    QVERIFY(installed.skippedInstalled);
    QVERIFY(!installed.mimeWritten && !installed.desktopWritten);
    QVERIFY(!QFileInfo::exists(EntryPath(home2.path())));

    // The same layout outside the system's data folders is only a copy: register.
    options.systemDataDirs = {QStringLiteral("/usr/share")};
    QVERIFY(RegisterDesktopIntegration(program, home2.path(), options).desktopWritten);
}

void TestDesktopRegistration::unwritableHomeIsSilent() {
    QTemporaryDir dir;
    // A file where the data home's folders should be: every write fails.
    QFile blocker(dir.path() + QStringLiteral("/home"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const RegistrationResult result = RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"),
                                                                 blocker.fileName(), NoTools());
    QVERIFY(!result.mimeWritten && !result.desktopWritten && !result.iconWritten);

    // A relative data home is never used (it would land in the working folder).
    const RegistrationResult relative = RegisterDesktopIntegration(
        QStringLiteral("/opt/games/vorlo"), QStringLiteral("share"), NoTools());
    QVERIFY(!relative.mimeWritten && !relative.desktopWritten);
}

// A FIFO where the opener belongs neither blocks the start-up (reading it
// would wait for a writer) nor is replaced; the other files are written.
void TestDesktopRegistration::leavesAFifoAlone() {
    QTemporaryDir home;
    QVERIFY(QDir().mkpath(home.path() + QStringLiteral("/applications")));
    const QByteArray fifo = QFile::encodeName(EntryPath(home.path()));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    std::future<RegistrationResult> registration = std::async(std::launch::async, [&home] {
        return RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(),
                                          NoTools());
    });
    if (registration.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        // Release the blocked reader so that the test can end.
        const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        registration.wait();
        ::close(writer);
        QFAIL("the registration waited on the FIFO");
    }
    const RegistrationResult result = registration.get();
    QVERIFY(!result.desktopWritten);
    QVERIFY(result.mimeWritten && result.iconWritten && result.appIconWritten);
    struct stat info {};
    QCOMPARE(::lstat(fifo.constData(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode));
}

// A symbolic link planted where one of the registration's files belongs
// (ln -s ~/victim.txt ~/.local/share/applications/vorlo.desktop) is replaced
// by the file; the file it pointed at keeps its content and mode.
void TestDesktopRegistration::replacesAPlantedLink_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("desktop entry") << 0;
    QTest::newRow("MIME package") << 1;
    QTest::newRow("riddle icon") << 2;
    QTest::newRow("application icon") << 3;
}
void TestDesktopRegistration::replacesAPlantedLink() {
    QFETCH(int, which);
    QTemporaryDir clean;
    RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), clean.path(), NoTools());
    QTemporaryDir home;
    QTemporaryDir elsewhere;
    const auto pathIn = [which](const QString& dataHome) {
        switch (which) {
            case 0:
                return EntryPath(dataHome);
            case 1:
                return MimePath(dataHome);
            case 2:
                return DocIconPath(dataHome);
            default:
                return AppIconPath(dataHome);
        }
    };
    const QString victim = elsewhere.filePath(QStringLiteral("victim.txt"));
    {
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the user's own words\n");
    }
    QVERIFY(QFile::setPermissions(victim, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QString planted = pathIn(home.path());
    QVERIFY(QDir().mkpath(QFileInfo(planted).path()));
    QVERIFY(QFile::link(victim, planted));

    const RegistrationResult result =
        RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), NoTools());
    QVERIFY(result.desktopWritten && result.mimeWritten && result.iconWritten &&
            result.appIconWritten);
    QCOMPARE(ReadText(victim), QStringLiteral("the user's own words\n"));
    QCOMPARE(QFileInfo(victim).permissions() & 0x7077,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    struct stat info {};
    QCOMPARE(::lstat(QFile::encodeName(planted).constData(), &info), 0);
    QVERIFY2(S_ISREG(info.st_mode), "the link is still there");
    QCOMPARE(ReadText(planted), ReadText(pathIn(clean.path())));
    QCOMPARE(
        QDir(elsewhere.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
        QStringList{QStringLiteral("victim.txt")});
}

void TestDesktopRegistration::fileManagerSeesRiddleType() {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    // Outside a desktop session xdg-mime asks `mimetype`, which reads the
    // shared MIME database; `file` alone would not know riddles.
    if (xdgMime.isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("mimetype")).isEmpty()) {
        QSKIP("needs xdg-mime, update-mime-database and mimetype (libfile-mimeinfo-perl)");
    }
    QTemporaryDir home;
    RegistrationOptions options = NoTools();
    options.runDatabaseTools = true;
    options.toolWaitMs = 20000;
    const RegistrationResult result =
        RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), options);
    QVERIFY(result.mimeDatabaseUpdated);
    QVERIFY(QFileInfo::exists(home.path() + QStringLiteral("/mime/mime.cache")));

    // A riddle under a name that says nothing else about it.
    const QString riddle = home.path() + QStringLiteral("/cup.vrl");
    QVERIFY(QFile::copy(QStringLiteral(VORLO_SOURCE_DIR "/resources/samples/riddle1.vrl"), riddle));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    environment.insert(QStringLiteral("XDG_DATA_DIRS"),
                       QStringLiteral("/usr/local/share:/usr/share"));
    environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("X-Generic"));
    environment.remove(QStringLiteral("DISPLAY"));
    QString output;
    QCOMPARE(Run(xdgMime, {QStringLiteral("query"), QStringLiteral("filetype"), riddle}, &output,
                 environment),
             0);
    QCOMPARE(output, QStringLiteral("application/x-vorlo-riddle"));

    // Nothing changed: the database is not rebuilt again.
    options.toolWaitMs = 20000;
    QVERIFY(!RegisterDesktopIntegration(QStringLiteral("/opt/games/vorlo"), home.path(), options)
                 .mimeDatabaseUpdated);
}

void TestDesktopRegistration::installationFolderFindsThePage() {
    QTemporaryDir prefix;
    const QString bin = prefix.path() + QStringLiteral("/bin");
    const QString share = prefix.path() + QStringLiteral("/share/vorlo");
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QDir().mkpath(share));
    const QString program = bin + QStringLiteral("/vorlo");

    // No page anywhere: no folder rather than a guess.
    QCOMPARE(InstallationFolderFor(program), QString());
    QCOMPARE(InstallationFolderFor(QString()), QString());

    QFile installed(share + QStringLiteral("/vorlo_heb.html"));
    QVERIFY(installed.open(QIODevice::WriteOnly));
    installed.close();
    QCOMPARE(InstallationFolderFor(program), share + u'/');

    // A page beside the program wins.
    QFile beside(bin + QStringLiteral("/vorlo_heb.html"));
    QVERIFY(beside.open(QIODevice::WriteOnly));
    beside.close();
    QCOMPARE(InstallationFolderFor(program), bin + u'/');

    // A program in the build tree finds the gathered copies, samples included.
    const QString fromBuild = InstallationFolderFor(QStringLiteral(VORLO_BUILD_PROGRAM));
    QVERIFY(fromBuild.endsWith(u'/'));
    QVERIFY2(QFileInfo::exists(fromBuild + QStringLiteral("riddle1.vrl")), qPrintable(fromBuild));
    QVERIFY(QFileInfo::exists(fromBuild + QStringLiteral("vorlo_heb.html")));
}

QTEST_GUILESS_MAIN(TestDesktopRegistration)
#include "test_desktop_registration.moc"
