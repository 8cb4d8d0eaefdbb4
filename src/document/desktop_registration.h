// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The desktop's knowledge of Vorlo, written per user at every start: riddle
// files (*.vrl) are "application/x-vorlo-riddle", shown with the riddle
// document icon and opened by this program. A program that has moved repairs
// the entries by being started once.
//
// Files written under the data home ($XDG_DATA_HOME, else ~/.local/share):
//   mime/packages/vorlo.xml                                  the file type
//   applications/vorlo.desktop                               the opener
//   icons/hicolor/scalable/mimetypes/application-x-vorlo-riddle.svg
//   icons/hicolor/scalable/apps/vorlo.svg
//
// Nothing here reports failure: a file that cannot be written is skipped with
// what depends on it, and start-up goes on.

#include <QString>
#include <QStringList>

namespace vorlo {

struct RegistrationOptions {
    // Run update-mime-database / update-desktop-database after a change.
    bool runDatabaseTools = true;
    // 0: start the tools detached and return at once (start-up). Otherwise
    // wait at most this long for each (tests that query the result).
    int toolWaitMs = 0;
    // The system data folders searched for an installed entry; empty means
    // $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
    QStringList systemDataDirs;
};

struct RegistrationResult {
    bool skippedInstalled = false;  // an installed package registers the program already
    bool mimeWritten = false;
    bool desktopWritten = false;
    bool iconWritten = false;  // the riddle document icon
    bool appIconWritten = false;
    bool mimeDatabaseUpdated = false;     // update-mime-database was started
    bool desktopDatabaseUpdated = false;  // update-desktop-database was started
};

// Writes the files above under `dataHome` for the program at `programPath`
// (absolute), each only when its content differs, and refreshes the desktop's
// caches only then.
RegistrationResult RegisterDesktopIntegration(const QString& programPath, const QString& dataHome,
                                              const RegistrationOptions& options = {});

// The per-user data home: $XDG_DATA_HOME when set and absolute, else ~/.local/share.
QString UserDataHome();

// True when the program lives in a prefix whose share/applications/vorlo.desktop
// is one of the system's data folders: the package registered it system-wide.
bool IsInstalledSystemWide(const QString& programPath, const QStringList& systemDataDirs);

// The desktop entry, MIME package and icons as written.
QString DesktopEntryText(const QString& programPath);
QString MimePackageText();

// The value of an Exec= key that runs `programPath` with one file, or an empty
// string when the path cannot be written there (a control character).
QString DesktopExecValue(const QString& programPath);

// The folder that holds the sample riddles and the information page, with a
// trailing "/": beside the program, or share/vorlo/ beside the program's
// folder (<prefix>/share/vorlo/ when installed, build/<preset>/share/vorlo/
// for a program run from the build tree). Empty when neither holds the
// information page.
QString InstallationFolder();
QString InstallationFolderFor(const QString& programPath);

}  // namespace vorlo
