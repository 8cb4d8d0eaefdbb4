// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application object: reads the command line, opens the main window on a
// new or a named riddle, or prints a riddle and ends.

#include <QApplication>
#include <QPointer>

#include <QStringList>
#include <string>

#include "main_window.h"
#include "window_placement.h"

class VorloApplication : public QApplication {
    Q_OBJECT

public:
    VorloApplication(int& argc, char** argv);
    ~VorloApplication() override;

    // Sets up the window from the command line. False when the program
    // should end at once; `exitCode` then says with which status.
    bool InitInstance(int* exitCode);
    // InitInstance, then the event loop.
    int Run();

    MainWindow* MainFrame() const { return frame_; }

    // Whether the introduction greets the user at this start.
    static bool ShouldGreet();
    // Records where the program's data files lie ("Vorlo.Path", "fullpath").
    static void RecordInstallationFolder();
    // Makes the desktop open ".vrl" riddles with this program; every failure
    // is silent. Set VORLO_NO_DESKTOP_REGISTRATION to leave the desktop alone.
    static void RegisterWithDesktop();

private:
    int PrintAndExit(const QString& path);

    QPointer<MainWindow> frame_;
    // Held while the window is open, so the next copy's window cascades.
    WindowSlot windowSlot_;
};

namespace vorlo {

// The program's entry: `vorlo [FILE]`, `--print FILE`, `--help`, `--version`.
// Without a display (and with no Qt platform chosen) it says how to run the
// window under a virtual X server instead of failing inside Qt.
int VorloMain(int argc, char** argv);

// Whether a window system is there for the GUI: DISPLAY, WAYLAND_DISPLAY or an
// explicitly chosen QT_QPA_PLATFORM.
bool HaveWindowSystem();

// `word` as one word of a POSIX shell command: unchanged when it holds only
// characters the shell takes literally, otherwise in single quotes.
std::string ShellWord(const std::string& word);

// The command that starts this program again, with the same arguments, under
// xvfb-run from the folder it was started in: the path the program was
// started by when that still leads to it (a bare name found on PATH, or a
// path relative to the current folder), else its absolute path.
std::string HeadlessRunCommand(int argc, char** argv);

}  // namespace vorlo
