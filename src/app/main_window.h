// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's main window: menus, toolbar and status bar from the command
// table, the three panes (information, board, text), and each command's
// action connected to its handler; the Edit commands go to the active pane.

#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

#include "commands.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;
class InfoPane;
class TaskPane;
class RiddleDocument;
class BoardView;
class RiddleProgress;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    RiddleDocument* riddleDocument() const { return doc_; }
    BoardView* boardView() const { return board_; }
    TaskPane* TextPane() const { return text_; }
    InfoPane* AdsPane() const { return ads_; }

    // The pane that commands go to first: the board at start, the text pane
    // or the information pane once the user clicks into it or moves to it.
    QWidget* GetActiveView() const { return activeView_; }
    void SetActiveView(QWidget* view);

    // The action of a command; its object name is the command's name.
    QAction* Action(vorlo::CommandId id) const;

    // Places the window and its panes in proportion to a screen whose area
    // available to windows is `available`. The frame the window manager puts
    // around the window counts in: the whole framed window lies inside.
    void PlaceOnScreen(const QRect& available);

    // File commands. Each returns whether it went through.
    bool OnFileNew();
    bool OnFileOpen();
    // The folder the Open dialog starts in.
    static QString OpenDialogFolder();
    // The installation folder with the sample riddles, as start-up recorded it.
    static QString SamplesFolder();
    bool OnFileSave();
    bool OnFileSaveAs();
    // The Open and Save As dialogs. Save As completes a name typed without
    // ".vrl" before it asks whether an existing file may be replaced.
    static std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, bool forSave,
                                                       const QString& suggestion);
    // Opens `path` after the save prompt. On failure the message names the
    // file and the reason, and the open riddle stays as it was.
    bool OpenDocumentFile(const QString& path);
    // Asks whether to save a modified riddle: false when the user cancelled
    // or the save failed.
    bool SaveModified();

    // Printing, with one printer whose settings last for the session.
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    // Prints on `printer` without asking (the command line's --print).
    bool PrintDirect(QPrinter* printer, QString* error);
    // The session's printer, made on first use: making one talks to the print
    // system, which must not delay the window's first paint.
    QPrinter& Printer();

    // Opens the riddle again from its file, after asking when it was changed.
    bool OnFileRevert();
    // Writes the board as the riddle's next solution file.
    bool OnFileSaveSolution();
    // Writes a picture of the board, and of the task text below it when
    // `withText`, as PNG, SVG or PDF by the name's extension (PNG for any
    // other name). A text too long for the picture is cut, and the status
    // bar says so.
    bool OnFileExportPicture();
    // `textCut`, when given, tells whether part of the text was left out.
    bool ExportPicture(const QString& path, bool withText, QString* error, bool* textCut = nullptr);
    // Asks where the picture goes and whether it shows the text (ticked at
    // first); an empty answer cancels.
    std::function<QString(bool* withText)> AskExportPicture;
    // Asked before Revert throws changes away; false keeps the board.
    std::function<bool(const QString& question)> ConfirmRevert;
    // How far the board is from the riddle, shown in the moved pane (left of
    // the match count) and, once solved, in a note over the board.
    RiddleProgress* Progress() const { return progress_; }
    QLabel* MovedPane() const { return movedPane_; }
    QLabel* SolvedNote() const { return solvedNote_; }

    void OnAppAbout();
    void OnHelpInstructions();
    void OnStartupMessage();

    QStringList RecentFiles() const { return recentFiles_; }
    // Writes the recent files and the Open dialog's folder if they changed
    // since the last write. Opening a riddle only notes them; they are
    // written shortly after, at close, and when the application quits.
    void FlushSettings();
    // Whether a settings write is waiting.
    bool SettingsPending() const;
    // Whether the window has been painted yet.
    bool FirstPaintSeen() const { return firstPaintSeen_; }

    // Status-bar panes.
    QLabel* MessagePane() const { return messagePane_; }
    QLabel* MatchCountPane() const { return matchCountPane_; }
    QLabel* CapsPane() const { return capsPane_; }
    QLabel* NumPane() const { return numPane_; }

    // Replaceable interactions, so the window can be driven without anyone
    // at the screen.
    std::function<QMessageBox::StandardButton(const QString& question)> SavePrompt;
    std::function<QString(bool forSave, const QString& suggestion)> AskFileName;
    // Asked before a save replaces a file the Save As dialog did not name
    // exactly (the ".vrl" added to a name typed without it); false cancels.
    std::function<bool(const QString& path)> ConfirmReplace;
    std::function<void(const QString& message)> ShowError;
    // Tells the user something that needs no answer.
    std::function<void(const QString& message)> ShowNotice;
    std::function<int(QDialog& dialog)> RunModal;

    // The menu bar's menus, in order.
    QList<QMenu*> Menus() const { return menus_; }
    // View > Language: the interface's language from the next start on.
    QMenu* LanguageMenu() const { return languageMenu_; }
    QToolBar* ToolBar;
    QStatusBar* StatusBar;
    QSplitter* OuterSplitter;
    QSplitter* InnerSplitter;
    int FullScreenHeight = 0;
    int FullScreenWidth = 0;

signals:
    // The pane that commands go to first has changed.
    void ActiveViewChanged(QWidget* view);
    // The window has been painted for the first time (and is on the screen).
    void FirstPainted();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void RememberOpenFolder(const QString& path);

    void CreateActions();
    void CreateMenus();
    void CreateLanguageMenu(QMenu* view);
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void ConnectCommands();
    void ConnectEditRoutes();
    // The Match menu's selection commands, snapping and zoom, with their
    // stored settings.
    void ConnectBoardViewCommands();
    // Revert, solutions and the moved count (main_window_solutions.cpp).
    void CreateSolutionCommands();
    void UpdateSolutionCommands();
    void ShowProgress();
    void OnRiddleSaved();
    QString AskExportPictureDefault(bool* withText);
    void PlaceSolvedNote();
    // Enable states, each set when what it depends on changes: the board's
    // commands follow the active pane and the board; the Edit commands
    // follow the active pane and what that pane can do now.
    void UpdateBoardCommands();
    void UpdateEditCommands();
    bool BoardActive() const;
    void OnNextPane(int step);
    void OnFocusChanged(QWidget* now);
    void UpdateTitle();
    void UpdateLockIndicators();
    void ApplyPaneSizes();
    void ApplyPlacement(const QMargins& frame);
    void FitToFrameAtFirstShow();
    void EndWaitingForFrame();
    bool DoSave(QString path);
    QString SaveAsSuggestion() const;
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);
    void LoadRecentFiles();
    void SaveRecentFiles() const;
    void ScheduleSettingsWrite();
    void OnFirstPaint();
    void UpdateRecentFileMenu();
    QIcon CommandIcon(const vorlo::Command& command) const;
    void ApplyThemeIcons();

    RiddleDocument* doc_;
    InfoPane* ads_ = nullptr;
    BoardView* board_ = nullptr;
    TaskPane* text_ = nullptr;
    QPointer<QWidget> activeView_;
    std::map<int, QAction*> actions_;
    // What a pane does with one Edit command: whether it can act now, and the act.
    struct EditHandler {
        std::function<bool()> enabled;
        std::function<void()> run;
    };
    // The Edit commands each pane takes. While a pane is active, a command
    // it does not take is disabled.
    std::map<const QWidget*, std::map<vorlo::CommandId, EditHandler>> editRoutes_;
    const EditHandler* ActiveEditHandler(vorlo::CommandId id) const;
    QList<QMenu*> menus_;
    QMenu* languageMenu_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    QStringList recentFiles_;
    QLabel* messagePane_ = nullptr;
    QLabel* matchCountPane_ = nullptr;
    QLabel* capsPane_ = nullptr;
    QLabel* numPane_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    RiddleProgress* progress_ = nullptr;
    QLabel* movedPane_ = nullptr;
    QLabel* solvedNote_ = nullptr;
    int boardRowHeight_ = 0;
    bool paneSizesPending_ = false;
    // The area the window was last placed in, and the frame it was placed for.
    QRect placementArea_;
    QMargins placementFrame_;
    bool shownBefore_ = false;
    // Shown, but the window manager has not yet told the frame's size.
    bool waitingForFrame_ = false;
    bool firstPaintSeen_ = false;
    bool recentFilesPending_ = false;
    QTimer* settingsTimer_ = nullptr;
};
