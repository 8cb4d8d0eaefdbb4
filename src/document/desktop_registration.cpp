// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_registration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "riddle_io.h"

namespace vorlo {

namespace {

const char kPageName[] = "vorlo_heb.html";

QByteArray ReadResource(const QString& name) {
    QFile file(QStringLiteral(":/vorlo/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// Writes `content` to `path` unless the file already holds exactly that.
// Returns true when it wrote. These are the program's own files: a link in
// the place of one is neither read nor written through, but replaced by the
// file (so a link to, say, a document of the user's leaves that document as
// it was), and a FIFO or device is left alone.
bool WriteIfChanged(const QString& path, const QByteArray& content) {
    if (content.isEmpty()) {
        return false;
    }
    const OwnFileRead existing = ReadOwnFile(path, content.size());
    if (existing.state == OwnFileState::Read && existing.bytes == content) {
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    return WriteOwnFileAtomically(path, content.toStdString(), nullptr);
}

// A cache that is missing or older than its source means an earlier refresh
// never ran (tool missing, killed): try again even though nothing changed.
bool CacheIsStale(const QString& cache, const QString& source) {
    const QFileInfo cacheInfo(cache);
    const QFileInfo sourceInfo(source);
    return sourceInfo.exists() &&
           (!cacheInfo.exists() || cacheInfo.lastModified() < sourceInfo.lastModified());
}

// Runs a database tool on `folder`, detached, or waiting at most `waitMs`.
bool RunTool(const QString& tool, const QString& folder, int waitMs) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        return false;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments({folder});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (waitMs <= 0) {
        return process.startDetached();
    }
    process.start();
    if (!process.waitForFinished(waitMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList DefaultSystemDataDirs() {
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty()) {
        dirs = QStringLiteral("/usr/local/share/:/usr/share/");
    }
    return dirs.split(u':', Qt::SkipEmptyParts);
}

// Characters that make the desktop's Exec parser need quotes around an argument.
bool NeedsQuoting(const QString& argument) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    for (const QChar c : argument) {
        if (kReserved.contains(c)) {
            return true;
        }
    }
    return false;
}

// Backslashes are escapes in every string value of a desktop entry.
QString EscapeStringValue(QString value) {
    value.replace(u'\\', QStringLiteral("\\\\"));
    return value;
}

bool HasControlCharacter(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString DesktopExecValue(const QString& programPath) {
    if (programPath.isEmpty() || HasControlCharacter(programPath)) {
        return {};
    }
    QString argument = programPath;
    if (NeedsQuoting(argument)) {
        QString quoted;
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
                quoted += u'\\';
            }
            quoted += c;
        }
        argument = u'"' + quoted + u'"';
    }
    // A lone % would start a field code.
    argument.replace(u'%', QStringLiteral("%%"));
    return EscapeStringValue(argument + QStringLiteral(" %f"));
}

QString DesktopEntryText(const QString& programPath) {
    const QString exec = DesktopExecValue(programPath);
    if (exec.isEmpty()) {
        return {};
    }
    QString text = QString::fromUtf8(ReadResource(QStringLiteral("desktop/vorlo.desktop.in")));
    // The template's Exec line carries its own " %f".
    text.replace(QStringLiteral("@EXEC@ %f"), exec);
    text.replace(QStringLiteral("@TRYEXEC@"), EscapeStringValue(programPath));
    return text;
}

QString MimePackageText() {
    return QString::fromUtf8(ReadResource(QStringLiteral("desktop/vorlo.xml")));
}

QString UserDataHome() {
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) {
        return QDir::cleanPath(xdg);
    }
    return QDir::homePath() + QStringLiteral("/.local/share");
}

bool IsInstalledSystemWide(const QString& programPath, const QStringList& systemDataDirs) {
    const QString prefixShare =
        QDir::cleanPath(QFileInfo(programPath).absolutePath() + QStringLiteral("/../share"));
    for (const QString& dir : systemDataDirs) {
        if (QDir::cleanPath(dir) == prefixShare) {
            return QFileInfo::exists(prefixShare + QStringLiteral("/applications/vorlo.desktop"));
        }
    }
    return false;
}

RegistrationResult RegisterDesktopIntegration(const QString& programPath, const QString& dataHome,
                                              const RegistrationOptions& options) {
    RegistrationResult result;
    if (programPath.isEmpty() || dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome)) {
        return result;
    }
    const QStringList systemDirs =
        options.systemDataDirs.isEmpty() ? DefaultSystemDataDirs() : options.systemDataDirs;
    if (IsInstalledSystemWide(programPath, systemDirs)) {
        result.skippedInstalled = true;
        return result;
    }

    const QString mimeDir = dataHome + QStringLiteral("/mime");
    const QString mimePackage = mimeDir + QStringLiteral("/packages/vorlo.xml");
    result.mimeWritten = WriteIfChanged(mimePackage, MimePackageText().toUtf8());

    const QString iconDir = dataHome + QStringLiteral("/icons/hicolor/scalable");
    result.iconWritten =
        WriteIfChanged(iconDir + QStringLiteral("/mimetypes/application-x-vorlo-riddle.svg"),
                       ReadResource(QStringLiteral("desktop/application-x-vorlo-riddle.svg")));
    result.appIconWritten = WriteIfChanged(iconDir + QStringLiteral("/apps/vorlo.svg"),
                                           ReadResource(QStringLiteral("icons/vorlo.svg")));

    const QString applicationsDir = dataHome + QStringLiteral("/applications");
    const QString desktopEntry = applicationsDir + QStringLiteral("/vorlo.desktop");
    result.desktopWritten = WriteIfChanged(desktopEntry, DesktopEntryText(programPath).toUtf8());

    if (!options.runDatabaseTools) {
        return result;
    }
    if (result.mimeWritten || CacheIsStale(mimeDir + QStringLiteral("/mime.cache"), mimePackage)) {
        result.mimeDatabaseUpdated =
            RunTool(QStringLiteral("update-mime-database"), mimeDir, options.toolWaitMs);
    }
    if (result.desktopWritten ||
        CacheIsStale(applicationsDir + QStringLiteral("/mimeinfo.cache"), desktopEntry)) {
        result.desktopDatabaseUpdated =
            RunTool(QStringLiteral("update-desktop-database"), applicationsDir, options.toolWaitMs);
    }
    return result;
}

QString InstallationFolderFor(const QString& programPath) {
    if (programPath.isEmpty()) {
        return {};
    }
    const QString programDir = QFileInfo(programPath).absolutePath();
    // An installation, and the build tree laid out like one, keep the data
    // files in share/vorlo beside the program's bin folder.
    const QStringList candidates{programDir,
                                 QDir::cleanPath(programDir + QStringLiteral("/../share/vorlo"))};
    for (const QString& candidate : candidates) {
        const QString folder = QDir::cleanPath(candidate) + u'/';
        if (QFileInfo::exists(folder + QLatin1String(kPageName))) {
            return folder;
        }
    }
    return {};
}

QString InstallationFolder() {
    if (QCoreApplication::instance() == nullptr) {
        return {};
    }
    return InstallationFolderFor(QCoreApplication::applicationFilePath());
}

}  // namespace vorlo
