// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's file commands: New, Open, Save, Save As, Revert to
// Saved, Save as Solution, the sample riddles, the save prompt, the recent
// files and riddle files dropped on the window.

#include <QCoreApplication>
#include <QFileDialog>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

#include "commands.h"
#include "window_prompts.h"

class QAction;
class QDropEvent;
class QMessageBox;
class QMimeData;
class QTimer;
class QWidget;
class RiddleDocument;

class FileCommands : public QObject {
    // The texts are the window's: they keep its translations.
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // `window` parents the dialogs; `action` finds a command's action (the
    // recent-file entries are updated through it).
    FileCommands(QWidget* window, RiddleDocument* doc, WindowPrompts& prompts,
                 std::function<QAction*(vorlo::CommandId)> action);
    ~FileCommands() override;

    // Each returns whether it went through.
    bool OnFileNew();
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // Whether a riddle opens to be played: a riddle with solutions beside it
    // is a game; one without is opened to be edited.
    enum class PlayChoice { WhenSolutions, Always, Never };
    // Opens `path` after the save prompt. On failure the message names the
    // file and the reason, and the open riddle stays as it was.
    bool OpenDocumentFile(const QString& path, PlayChoice play = PlayChoice::WhenSolutions);
    // Starts playing the open riddle as its file holds it: unsaved edits are
    // asked about first, as Open does, and a riddle never saved must be
    // saved to be played. False when it did not start.
    bool StartPlaying();
    // Asks whether to save a modified riddle: false when the user cancelled
    // or the save failed.
    bool SaveModified();
    // Opens the riddle again from its file, after asking when it was changed.
    bool OnFileRevert();
    // Writes the board as the riddle's next solution file.
    bool OnFileSaveSolution();
    // A sample-riddle command: opens `fileName` from the installation folder
    // through the ordinary open; nothing when start-up recorded no folder.
    bool OpenSampleRiddle(const QString& fileName);

    // The folder the Open dialog starts in.
    static QString OpenDialogFolder();
    // The installation folder with the sample riddles, as start-up recorded it.
    static QString SamplesFolder();
    // The Open and Save As dialogs. Save As completes a name typed without
    // ".vrl" before it asks whether an existing file may be replaced.
    static std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, bool forSave,
                                                       const QString& suggestion);

    // Riddle files dragged over and dropped on the window: whether the drag
    // carries one, and the drop.
    static bool CarriesRiddle(const QMimeData* data);
    // The question asked before a changed riddle is closed: Save, Discard
    // or Cancel, Save the default.
    static std::unique_ptr<QMessageBox> MakeSaveQuestion(QWidget* parent, const QString& question);
    // Accepts a drag or a drop as a copy, whatever it proposes; false (and
    // ignored) when it offers no copy.
    static bool TakeAsCopy(QDropEvent* event);
    void Drop(QDropEvent* event);

    // The recent-file list: the menu's placeholder shows while it is empty.
    void SetRecentFilePlaceholder(QAction* placeholder);
    void OpenRecentFile(int index);
    QStringList RecentFiles() const { return recentFiles_; }
    // Writes the recent files and the Open dialog's folder if they changed
    // since the last write. Opening a riddle only notes them; they are
    // written shortly after, at close, and when the application quits.
    void FlushSettings();
    // The list is written at every close, changed or not.
    void FlushSettingsAtClose();
    // Whether a settings write is waiting.
    bool SettingsPending() const;

    // Told after the riddle was saved, and after a solution was written.
    std::function<void()> Saved;
    std::function<void(const QString& path)> SolutionSaved;

private:
    static void RememberOpenFolder(const QString& path);
    bool DoSave(QString path);
    QString SaveAsSuggestion() const;
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);
    void LoadRecentFiles();
    void SaveRecentFiles() const;
    void ScheduleSettingsWrite();
    void UpdateRecentFileMenu();

    QWidget* window_;
    RiddleDocument* doc_;
    WindowPrompts& prompts_;
    std::function<QAction*(vorlo::CommandId)> action_;
    QAction* recentPlaceholder_ = nullptr;
    QStringList recentFiles_;
    bool recentFilesPending_ = false;
    QTimer* settingsTimer_ = nullptr;
};
