// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

#include "about_dialog.h"
#include "app_icon.h"
#include "board_view.h"
#include "book_commands.h"
#include "deferred_file_icon.h"
#include "file_commands.h"
#include "game_commands.h"
#include "info_pane.h"
#include "instructions_dialog.h"
#include "interface_language.h"
#include "intro_dialog.h"
#include "language_menu.h"
#include "play_session.h"
#include "print_commands.h"
#include "riddle_document.h"
#include "settings_store.h"
#include "shown_name.h"
#include "task_pane.h"
#include "window_placement.h"
#include "window_status.h"

using namespace vorlo;

namespace {

// The program's name as message boxes show it in their title.
QString AppTitle() {
    return MainWindow::tr("vorlo");
}

// A file name as it stands in the window title: its controls and direction
// marks as escapes, as everywhere a name is shown. A name with right-to-left
// letters, or with direction marks (now visible), is set apart as an
// isolate of its own, so the title reads name, dash, program whatever the
// name's script.
QString TitleName(const QString& name) {
    const QString shown = ShownName(name);
    bool apart = shown != name;
    for (const char32_t c : name.toUcs4()) {
        const QChar::Direction direction = QChar::direction(c);
        if (direction == QChar::DirR || direction == QChar::DirAL) {
            apart = true;
            break;
        }
    }
    if (!apart) {
        return name;
    }
    const QChar firstStrongIsolate(0x2068);
    const QChar popDirectionalIsolate(0x2069);
    return firstStrongIsolate + shown + popDirectionalIsolate;
}

// The toolbar's pictures at 100%.
constexpr QSize kToolBarIconSize(16, 15);

}  // namespace

MainWindow::MainWindow(QWidget* parent, int cascade)
    : QMainWindow(parent), doc_(new RiddleDocument(this)) {
    Q_INIT_RESOURCE(toolbar_icons);
    vorlo::InstallKeyNames();
    // Riddle files dropped anywhere on the window open as through File > Open.
    setAcceptDrops(true);

    ShowError = [this](const QString& message) { QMessageBox::warning(this, AppTitle(), message); };
    ShowNotice = [this](const QString& message) {
        QMessageBox::information(this, AppTitle(), message);
    };
    RunModal = [](QDialog& dialog) { return dialog.exec(); };

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreatePanes();
    ConnectCommands();
    ConnectEditRoutes();
    ConnectBoardViewCommands();
    connect(doc_, &RiddleDocument::titleChanged, this, [this] { UpdateSolutionCommands(); });
    UpdateSolutionCommands();
    game_->CommandsChanged = [this] {
        UpdateSolutionCommands();
        UpdateBoardCommands();
        UpdateEditCommands();
    };

    connect(doc_, &RiddleDocument::modifiedChanged, this, [this] { UpdateTitle(); });
    connect(doc_, &RiddleDocument::titleChanged, this, [this] { UpdateTitle(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    // The board's contents, selection and last action change only with the
    // document's announcements.
    connect(doc_, &RiddleDocument::contentsChanged, this, [this] {
        UpdateBoardCommands();
        UpdateEditCommands();
    });
    connect(this, &MainWindow::ActiveViewChanged, this, [this] {
        UpdateBoardCommands();
        UpdateEditCommands();
    });
    connect(text_, &QTextEdit::copyAvailable, this, [this] { UpdateEditCommands(); });
    connect(text_, &QTextEdit::undoAvailable, this, [this] { UpdateEditCommands(); });
    connect(ads_, &QTextEdit::copyAvailable, this, [this] { UpdateEditCommands(); });

    // The first paint is seen wherever in the window it happens.
    qApp->installEventFilter(this);

    placement_->SetCascade(cascade);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        PlaceOnScreen(screen->availableGeometry());
    }
    // The board takes its scroll size from its own size, which is final only
    // once the window has been fitted to its frame and the panes sized.
    board_->HoldExtent(true);
    SetActiveView(board_);
    doc_->newRiddle();
    UpdateTitle();
}

MainWindow::~MainWindow() {
    files_->FlushSettings();
    qApp->removeEventFilter(this);
    // From here on this is no longer a whole window: nothing may call back
    // into it while its parts go.
    for (QObject* sender : std::initializer_list<QObject*>{doc_, qApp, text_, ads_, board_}) {
        disconnect(sender, nullptr, this, nullptr);
    }
    language_.reset();
    book_.reset();
    game_.reset();
    status_.reset();
    printing_.reset();
    files_.reset();
}

// ----- construction -----

QIcon MainWindow::CommandIcon(const Command& command) const {
    // The bundled pictures were drawn at build time for 100% and 200%
    // screens ("NAME.png" and "NAME@2x.png"); each is read when a screen
    // of its scale first shows it.
    if (!*command.fallbackIcon) {
        return {};
    }
    const QString path = QString::fromLatin1(command.fallbackIcon);
    QString twice = path;
    twice.insert(twice.lastIndexOf(u'.'), QStringLiteral("@2x"));
    return DeferredFileIcon({{path, kToolBarIconSize}, {twice, kToolBarIconSize * 2}});
}

void MainWindow::ApplyThemeIcons() {
    // Looking a name up in the desktop's icon theme probes hundreds of
    // folders (and again for the name cut at each dash) wherever a theme
    // folder has no cache, as the user's own usually has not: tens of
    // milliseconds for the toolbar. So the window first shows the bundled
    // pictures and takes the theme's own ones, where it has them, after.
    for (const Command& command : Commands()) {
        QAction* action = *command.themeIcon ? Action(command.id) : nullptr;
        if (action == nullptr) {
            continue;
        }
        const QIcon bundled = action->icon();
        const QIcon themed = QIcon::fromTheme(QString::fromLatin1(command.themeIcon), bundled);
        // The bundled icon comes back when the theme has no such picture.
        if (themed.cacheKey() != bundled.cacheKey()) {
            action->setIcon(themed);
        }
    }
}

void MainWindow::CreateActions() {
    for (const Command& command : Commands()) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(command.name));
        action->setText(*command.menuText ? TranslatedText(command.menuText)
                                          : TranslatedText(command.toolTip));
        action->setShortcuts(command.shortcuts);
        action->setStatusTip(TranslatedText(command.prompt));
        if (*command.toolTip) {
            action->setToolTip(TranslatedText(command.toolTip));
        }
        action->setIcon(CommandIcon(command));
        action->setIconVisibleInMenu(false);
        // Shortcuts of commands that have neither menu entry nor toolbar
        // button work through the window itself.
        addAction(action);
        actions_[command.id] = action;
    }
    Action(CommandId::ViewToolBar)->setCheckable(true);
    Action(CommandId::ViewStatusBar)->setCheckable(true);
}

QAction* MainWindow::Action(CommandId id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::CreateMenus() {
    QMenu* view = nullptr;
    for (const MenuLayout& layout : MenuBarLayout()) {
        QMenu* menu = menuBar()->addMenu(TranslatedText(layout.title));
        menus_.append(menu);
        // The language choice goes where the toolbar is shown or hidden,
        // wherever that menu stands in the bar.
        if (std::ranges::find(layout.items, CommandId::ViewToolBar) != layout.items.end()) {
            view = menu;
        }
        for (CommandId id : layout.items) {
            if (id == CommandId::Separator) {
                menu->addSeparator();
            } else if (id == CommandId::RecentFile1) {
                recentPlaceholder_ = menu->addAction(TranslatedText(kRecentFilePlaceholder));
                recentPlaceholder_->setEnabled(false);
                for (int i = 0; i < kRecentFileCount; ++i) {
                    menu->addAction(Action(RecentFileCommand(i)));
                }
            } else {
                menu->addAction(Action(id));
            }
        }
    }
    viewMenu_ = view != nullptr ? view : menus_.last();
}

QMenu* MainWindow::LanguageMenu() const {
    return language_->Menu();
}

void MainWindow::CreateToolBar() {
    ToolBar = new QToolBar(tr("Toolbar"), this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setIconSize(kToolBarIconSize);
    for (CommandId id : ToolBarLayout()) {
        if (id == CommandId::Separator) {
            ToolBar->addSeparator();
        } else {
            ToolBar->addAction(Action(id));
        }
    }
    addToolBar(Qt::TopToolBarArea, ToolBar);
    QAction* toggle = Action(CommandId::ViewToolBar);
    connect(toggle, &QAction::toggled, ToolBar, &QToolBar::setVisible);
    connect(ToolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
    toggle->setChecked(true);
}

void MainWindow::CreateStatusBar() {
    StatusBar = statusBar();
    QAction* toggle = Action(CommandId::ViewStatusBar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, StatusBar, &QStatusBar::setVisible);
}

void MainWindow::CreatePanes() {
    OuterSplitter = new QSplitter(Qt::Horizontal, this);
    OuterSplitter->setChildrenCollapsible(true);
    ads_ = new InfoPane(doc_, OuterSplitter);
    ads_->InstallationFolder = &FileCommands::SamplesFolder;
    // The page is asked for and laid out once the window has been painted.
    ads_->HoldLoading(true);
    InnerSplitter = new QSplitter(Qt::Vertical, OuterSplitter);
    board_ = new BoardView(doc_, InnerSplitter);
    text_ = new TaskPane(doc_, InnerSplitter);
    // When the window is resized the board and the text pane follow; the
    // information column keeps its width.
    OuterSplitter->setStretchFactor(0, 0);
    OuterSplitter->setStretchFactor(1, 1);
    InnerSplitter->setStretchFactor(0, 0);
    InnerSplitter->setStretchFactor(1, 1);
    setCentralWidget(OuterSplitter);

    const auto action = [this](CommandId id) { return Action(id); };
    files_ = std::make_unique<FileCommands>(this, doc_, *this, action);
    files_->SetRecentFilePlaceholder(recentPlaceholder_);
    game_ = std::make_unique<GameCommands>(doc_, *files_, text_, action);
    book_ = std::make_unique<BookCommands>(
        this, doc_, *files_, action,
        [this](const QString& message) { StatusBar->showMessage(message, 5000); });
    printing_ = std::make_unique<PrintCommands>(
        this, doc_, board_, *this,
        [this](const QString& message, int timeout) { StatusBar->showMessage(message, timeout); });
    status_ = std::make_unique<WindowStatus>(StatusBar, doc_, board_);
    files_->Saved = [this] { status_->OnRiddleSaved(); };
    files_->SolutionSaved = [this](const QString& path) { status_->OnSolutionSaved(path); };
    placement_ = std::make_unique<WindowPlacement>(this, OuterSplitter, InnerSplitter, board_);
    language_ = std::make_unique<::LanguageMenu>(viewMenu_, *this);
}

void MainWindow::PlaceOnScreen(const QRect& available) {
    placement_->PlaceOnScreen(available);
}

void MainWindow::UpdateSolutionCommands() {
    const bool saved = !doc_->pathName().isEmpty();
    Action(CommandId::FileRevert)->setEnabled(saved);
    Action(CommandId::FileSaveSolution)->setEnabled(saved && !doc_->isPlaying());
}

void MainWindow::showEvent(QShowEvent* event) {
    placement_->BeforeShow(event->spontaneous());
    QMainWindow::showEvent(event);
    placement_->AfterShow();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!firstPaintSeen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        firstPaintSeen_ = true;
        // Once the whole window is painted and on the screen.
        QTimer::singleShot(0, this, [this] { OnFirstPaint(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::OnFirstPaint() {
    // The icon reads seven pictures and, under X, sends them all to the
    // server; the window manager takes it just as well once it is shown.
    setWindowIcon(ApplicationIcon());
    ApplyThemeIcons();
    ads_->HoldLoading(false);
    emit FirstPainted();
}

void MainWindow::UpdateTitle() {
    setWindowTitle(tr("%1[*] - vorlo").arg(TitleName(doc_->title())));
    setWindowModified(doc_->isModified());
}

// ----- files -----

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (FileCommands::CarriesRiddle(event->mimeData())) {
        FileCommands::TakeAsCopy(event);
    } else {
        event->ignore();
    }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (FileCommands::CarriesRiddle(event->mimeData())) {
        FileCommands::TakeAsCopy(event);
    } else {
        event->ignore();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    files_->Drop(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A game is kept without asking; only an edited riddle is asked about.
    doc_->play()->flush();
    if (files_->SaveModified()) {
        files_->FlushSettingsAtClose();
        book_->CloseBook();
        event->accept();
    } else {
        event->ignore();
    }
}

// ----- help -----

void MainWindow::OnAppAbout() {
    AboutDialog dialog(this);
    RunModal(dialog);
}

void MainWindow::OnHelpInstructions() {
    InstructionsDialog dialog(this);
    RunModal(dialog);
}

void MainWindow::OnStartupMessage() {
    // The box starts checked whatever was stored: closing it stores the
    // choice again.
    SettingsStore settings;
    IntroDialog dialog(settings, this);
    RunModal(dialog);
}
