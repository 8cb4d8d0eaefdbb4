// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's main window: menus, toolbar and status bar from the command
// table, the three panes (information, board, text), and each command's
// action connected to its handler; the Edit commands go to the active pane.
// The file commands, printing and export, the status bar, the placement and
// the language menu are classes of their own, owned by the window.

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>

#include "commands.h"
#include "window_prompts.h"

class QAction;
class QMenu;
class QSplitter;
class QStatusBar;
class QToolBar;
class InfoPane;
class TaskPane;
class RiddleDocument;
class BoardView;
class BookCommands;
class FileCommands;
class GameCommands;
class LanguageMenu;
class PrintCommands;
class WindowPlacement;
class WindowStatus;

// The prompts are the window's public hooks: tests and the command line
// replace them before they drive the window.
class MainWindow : public QMainWindow, public WindowPrompts {
    Q_OBJECT

public:
    // `cascade`: which of the program's windows running at once this is (see
    // PlaceFrameOnScreen), 0 for the first.
    explicit MainWindow(QWidget* parent = nullptr, int cascade = 0);
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

    FileCommands& Files() const { return *files_; }
    GameCommands& Game() const { return *game_; }
    BookCommands& Book() const { return *book_; }
    PrintCommands& Printing() const { return *printing_; }
    WindowStatus& Status() const { return *status_; }
    WindowPlacement& Placement() const { return *placement_; }

    // Places the window and its panes in proportion to a screen whose area
    // available to windows is `available` (see WindowPlacement).
    void PlaceOnScreen(const QRect& available);

    // The tip shown once where a dropped match just missed another one.
    static QString SnapTip();

    void OnAppAbout();
    void OnHelpInstructions();
    void OnStartupMessage();

    // Whether the window has been painted yet.
    bool FirstPaintSeen() const { return firstPaintSeen_; }

    // The menu bar's menus, in order.
    QList<QMenu*> Menus() const { return menus_; }
    // View > Language: the interface's language from the next start on.
    QMenu* LanguageMenu() const;
    QToolBar* ToolBar;
    QStatusBar* StatusBar;
    QSplitter* OuterSplitter;
    QSplitter* InnerSplitter;

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
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void ConnectCommands();
    void ConnectEditRoutes();
    // The Match menu's selection commands, snapping and zoom, with their
    // stored settings.
    void ConnectBoardViewCommands();
    void UpdateSolutionCommands();
    // Enable states, each set when what it depends on changes: the board's
    // commands follow the active pane and the board; the Edit commands
    // follow the active pane and what that pane can do now.
    void UpdateBoardCommands();
    void UpdateEditCommands();
    bool BoardActive() const;
    void OnNextPane(int step);
    void OnFocusChanged(QWidget* now);
    void UpdateTitle();
    void OnFirstPaint();
    QIcon CommandIcon(const vorlo::Command& command) const;
    void ApplyThemeIcons();

    RiddleDocument* doc_;
    InfoPane* ads_ = nullptr;
    BoardView* board_ = nullptr;
    TaskPane* text_ = nullptr;
    QPointer<QWidget> activeView_;
    std::map<vorlo::CommandId, QAction*> actions_;
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
    QMenu* viewMenu_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    bool firstPaintSeen_ = false;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<GameCommands> game_;
    std::unique_ptr<BookCommands> book_;
    std::unique_ptr<PrintCommands> printing_;
    std::unique_ptr<WindowStatus> status_;
    std::unique_ptr<WindowPlacement> placement_;
    std::unique_ptr<class LanguageMenu> language_;
};
