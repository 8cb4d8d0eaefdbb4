// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <span>

#include "about_dialog.h"
#include "info_pane.h"
#include "app_icon.h"
#include "deferred_file_icon.h"
#include "frame_placement.h"
#include "instructions_dialog.h"
#include "interface_language.h"
#include "intro_dialog.h"
#include "lock_keys.h"
#include "riddle_address.h"
#include "riddle_io.h"
#include "riddle_printer.h"
#include "settings_store.h"
#include "shown_name.h"
#include "task_pane.h"
#include "riddle_document.h"
#include "board_view.h"

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

// A riddle among the files of a drag: the first file URL whose name ends in
// ".vrl" (another computer's too, to be refused with a reason), with
// `error` set when it cannot be opened. Empty when the drag carries none.
struct DroppedRiddle {
    QString path;
    QString error;
    bool Found() const { return !path.isEmpty() || !error.isEmpty(); }
};
DroppedRiddle DroppedRiddleFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.scheme().compare(u"file", Qt::CaseInsensitive) != 0 ||
            !url.path().endsWith(QLatin1String(".vrl"), Qt::CaseInsensitive)) {
            continue;
        }
        DroppedRiddle riddle;
        riddle.path = RiddlePathFromFileUrl(url, url.toDisplayString(), &riddle.error);
        // A relative file URL names no file anyone can find.
        if (riddle.error.isEmpty() && !QDir::isAbsolutePath(riddle.path)) {
            continue;
        }
        return riddle;
    }
    return {};
}

// The Open dialog's new folder while its write waits. Kept for the whole
// program, as the folder is, so the next dialog starts there at once.
std::optional<QString> pendingOpenFolder;

// How long the settings of an open or a save wait before they are written:
// the writes of a few opens in a row go out together, and the one at start
// after the first paint.
constexpr int kSettingsWriteDelayMs = 500;

// The toolbar's pictures at 100%.
constexpr QSize kToolBarIconSize(16, 15);

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), doc_(new RiddleDocument(this)) {
    Q_INIT_RESOURCE(toolbar_icons);
    // Riddle files dropped anywhere on the window open as through File > Open.
    setAcceptDrops(true);

    SavePrompt = [this](const QString& question) {
        return QMessageBox::question(this, AppTitle(), question,
                                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                     QMessageBox::Save);
    };
    AskFileName = [this](bool forSave, const QString& suggestion) {
        const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(this, forSave, suggestion);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    };
    ConfirmReplace = [this](const QString& path) {
        return QMessageBox::question(this, AppTitle(),
                                     tr("%1 already exists.\nDo you want to replace it?")
                                         .arg(ShownName(QDir::toNativeSeparators(path))),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
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
    CreateSolutionCommands();
    LoadRecentFiles();

    settingsTimer_ = new QTimer(this);
    settingsTimer_->setSingleShot(true);
    settingsTimer_->setInterval(kSettingsWriteDelayMs);
    connect(settingsTimer_, &QTimer::timeout, this, [this] { FlushSettings(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { FlushSettings(); });

    connect(doc_, &RiddleDocument::ModifiedChanged, this, [this] { UpdateTitle(); });
    connect(doc_, &RiddleDocument::TitleChanged, this, [this] { UpdateTitle(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    // The board's contents, selection and last action change only with the
    // document's announcements.
    connect(doc_, &RiddleDocument::ContentsChanged, this, [this] {
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

    // The lock keys change without telling this window: look now and then,
    // and at every key the program sees.
    auto* lockTimer = new QTimer(this);
    connect(lockTimer, &QTimer::timeout, this, [this] { UpdateLockIndicators(); });
    lockTimer->start(500);
    qApp->installEventFilter(this);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        PlaceOnScreen(screen->availableGeometry());
    }
    // The board takes its scroll size from its own size, which is final only
    // once the window has been fitted to its frame and the panes sized.
    board_->HoldExtent(true);
    SetActiveView(board_);
    doc_->OnNewDocument();
    UpdateTitle();
    UpdateLockIndicators();
}

MainWindow::~MainWindow() {
    FlushSettings();
    qApp->removeEventFilter(this);
    // From here on this is no longer a whole window: nothing may call back
    // into it while its parts go.
    for (QObject* sender : std::initializer_list<QObject*>{doc_, qApp, text_, ads_, board_}) {
        disconnect(sender, nullptr, this, nullptr);
    }
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
                    menu->addAction(Action(static_cast<CommandId>(CommandId::RecentFile1 + i)));
                }
            } else {
                menu->addAction(Action(id));
            }
        }
    }
    CreateLanguageMenu(view != nullptr ? view : menus_.last());
}

void MainWindow::CreateLanguageMenu(QMenu* view) {
    view->addSeparator();
    languageMenu_ = view->addMenu(tr("&Language"));
    languageMenu_->setObjectName(QStringLiteral("LanguageMenu"));
    auto* group = new QActionGroup(languageMenu_);
    const vorlo::InterfaceLanguage stored = vorlo::StoredLanguage(vorlo::SettingsStore());
    // Each language is named in its own language, so that someone who
    // cannot read the current one still finds theirs.
    const struct {
        vorlo::InterfaceLanguage language;
        QString text;
    } choices[] = {
        {vorlo::InterfaceLanguage::System, tr("&System")},
        {vorlo::InterfaceLanguage::English, QStringLiteral("&English")},
        {vorlo::InterfaceLanguage::Hebrew, QStringLiteral("&\u05E2\u05D1\u05E8\u05D9\u05EA")},
    };
    for (const auto& choice : choices) {
        QAction* action = languageMenu_->addAction(choice.text);
        action->setObjectName(QStringLiteral("Language_") + vorlo::LanguageName(choice.language));
        action->setCheckable(true);
        action->setChecked(choice.language == stored);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, language = choice.language] {
            vorlo::SettingsStore settings;
            if (!vorlo::StoreLanguage(settings, language)) {
                ShowError(tr("The choice of language could not be saved in %1.")
                              .arg(ShownName(QDir::toNativeSeparators(settings.FileName()))));
                return;
            }
            ShowNotice(tr("The language changes when vorlo is started again."));
        });
    }
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
    messagePane_ = new QLabel(TranslatedText(kIdleMessage), StatusBar);
    StatusBar->addWidget(messagePane_, 1);

    auto addIndicator = [this](const char* widthText) {
        auto* pane = new QLabel(StatusBar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int margins = 2 * (pane->frameWidth() + pane->margin()) + 6;
        pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(TranslatedText(widthText)) +
                            margins);
        StatusBar->addPermanentWidget(pane);
        return pane;
    };
    // The count pane is as wide as "0   matches" and does not grow.
    matchCountPane_ = addIndicator(kMatchCountWidthText);
    capsPane_ = addIndicator(kCapsText);
    numPane_ = addIndicator(kNumText);

    QAction* toggle = Action(CommandId::ViewStatusBar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, StatusBar, &QStatusBar::setVisible);
}

void MainWindow::CreatePanes() {
    OuterSplitter = new QSplitter(Qt::Horizontal, this);
    OuterSplitter->setChildrenCollapsible(true);
    ads_ = new InfoPane(doc_, OuterSplitter);
    ads_->InstallationFolder = &MainWindow::SamplesFolder;
    // The page is asked for and laid out once the window has been painted.
    ads_->HoldLoading(true);
    InnerSplitter = new QSplitter(Qt::Vertical, OuterSplitter);
    board_ = new BoardView(doc_, InnerSplitter);
    board_->OpenDocumentFile = [this](const QString& path) { return OpenDocumentFile(path); };
    board_->InstallationFolder = &MainWindow::SamplesFolder;
    text_ = new TaskPane(doc_, InnerSplitter);
    // When the window is resized the board and the text pane follow; the
    // information column keeps its width.
    OuterSplitter->setStretchFactor(0, 0);
    OuterSplitter->setStretchFactor(1, 1);
    InnerSplitter->setStretchFactor(0, 0);
    InnerSplitter->setStretchFactor(1, 1);
    setCentralWidget(OuterSplitter);
}

void MainWindow::PlaceOnScreen(const QRect& available) {
    placementArea_ = available;
    // Once shown, the window manager's frame is known; before, the window is
    // placed as if it had none, and fitted to the frame when it is shown.
    const QWindow* window = windowHandle();
    ApplyPlacement(isVisible() && window ? window->frameMargins() : placementFrame_);
}

void MainWindow::ApplyPlacement(const QMargins& frame) {
    placementFrame_ = frame;
    const ScreenPlacement place = PlaceFrameOnScreen(placementArea_, frame);
    FullScreenWidth = place.fullScreen.width();
    FullScreenHeight = place.fullScreen.height();
    // The window system is told where the inside goes, frame taken off the
    // outer rectangle on every side; the window manager puts the frame round it.
    setGeometry(place.inside);
    boardRowHeight_ = place.boardHeight;
    paneSizesPending_ = true;
    if (isVisible()) {
        ApplyPaneSizes();
    }
}

void MainWindow::ApplyPaneSizes() {
    paneSizesPending_ = false;
    const int outer = OuterSplitter->width();
    OuterSplitter->setSizes(
        {kInfoPaneWidth, qMax(0, outer - kInfoPaneWidth - OuterSplitter->handleWidth())});
    const int inner = InnerSplitter->height();
    InnerSplitter->setSizes(
        {boardRowHeight_, qMax(0, inner - boardRowHeight_ - InnerSplitter->handleWidth())});
}

void MainWindow::FitToFrameAtFirstShow() {
    // Asked before the window appears, the window manager tells the frame's
    // size, and the window is sized to fit before its first paint.
    if (testAttribute(Qt::WA_DontShowOnScreen)) {
        return;
    }
    std::optional<QMargins> frame = AskFrameExtents(windowHandle(), std::chrono::milliseconds(500));
    if (!frame && windowHandle() && !windowHandle()->frameMargins().isNull()) {
        frame = windowHandle()->frameMargins();  // a frame the toolkit draws itself
    }
    if (frame) {
        if (*frame != placementFrame_) {
            ApplyPlacement(*frame);
        }
        return;
    }
    if (WindowManagerFramesLater()) {
        // A window manager that tells the frame only once it has put it
        // round the window: fit then, if it does so soon. Nothing of the
        // window need move or change size when it is framed, so look now
        // and then rather than wait for an event.
        waitingForFrame_ = true;
        auto* look = new QTimer(this);
        const QDeadlineTimer deadline(1000);
        connect(look, &QTimer::timeout, this, [this, look, deadline] {
            const QWindow* window = windowHandle();
            const bool known = window && !window->frameMargins().isNull();
            if (known) {
                ApplyPlacement(window->frameMargins());
            }
            if (known || deadline.hasExpired()) {
                look->deleteLater();
                EndWaitingForFrame();
            }
        });
        look->start(20);
    }
}

void MainWindow::EndWaitingForFrame() {
    if (waitingForFrame_) {
        waitingForFrame_ = false;
        board_->HoldExtent(false);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!event->spontaneous() && !shownBefore_) {
        shownBefore_ = true;
        FitToFrameAtFirstShow();
    }
    QMainWindow::showEvent(event);
    if (paneSizesPending_) {
        ApplyPaneSizes();
    }
    if (!waitingForFrame_) {
        board_->HoldExtent(false);
    }
}

// ----- active view and routing -----

void MainWindow::SetActiveView(QWidget* view) {
    if (view != board_ && view != text_ && view != ads_) {
        return;
    }
    const bool changed = activeView_ != view;
    activeView_ = view;
    if (!view->hasFocus()) {
        view->setFocus(Qt::OtherFocusReason);
    }
    if (changed) {
        emit ActiveViewChanged(view);
    }
}

void MainWindow::OnFocusChanged(QWidget* now) {
    for (QWidget* w = now; w != nullptr; w = w->parentWidget()) {
        if (w == board_ || w == text_ || w == ads_) {
            if (activeView_ != w) {
                activeView_ = w;
                emit ActiveViewChanged(w);
            }
            return;
        }
        if (w == this) {
            return;
        }
    }
}

void MainWindow::OnNextPane(int step) {
    QWidget* const panes[] = {ads_, board_, text_};
    int index = 1;
    for (int i = 0; i < 3; ++i) {
        if (panes[i] == activeView_) {
            index = i;
        }
    }
    SetActiveView(panes[(index + step + 3) % 3]);
}

// ----- commands -----

void MainWindow::ConnectCommands() {
    const auto on = [this](CommandId id, auto handler) {
        connect(Action(id), &QAction::triggered, this, handler);
    };
    on(CommandId::FileNew, [this] { OnFileNew(); });
    on(CommandId::FileOpen, [this] { OnFileOpen(); });
    on(CommandId::FileSave, [this] { OnFileSave(); });
    on(CommandId::FileSaveAs, [this] { OnFileSaveAs(); });
    on(CommandId::FilePrint, [this] { OnFilePrint(); });
    on(CommandId::FilePrintDirect, [this] {
        QString error;
        if (!PrintDirect(&Printer(), &error)) {
            ShowError(error);
        }
    });
    on(CommandId::FilePrintPreview, [this] { OnFilePrintPreview(); });
    on(CommandId::FilePrintSetup, [this] { OnFilePrintSetup(); });
    for (int i = 0; i < kRecentFileCount; ++i) {
        on(static_cast<CommandId>(CommandId::RecentFile1 + i), [this, i] {
            if (i < recentFiles_.size()) {
                OpenDocumentFile(recentFiles_.at(i));
            }
        });
    }
    on(CommandId::AppExit, [this] { close(); });
    on(CommandId::AppAbout, [this] { OnAppAbout(); });
    on(CommandId::HelpInstructions, [this] { OnHelpInstructions(); });
    on(CommandId::StartupMessage, [this] { OnStartupMessage(); });
    on(CommandId::NextPane, [this] { OnNextPane(1); });
    on(CommandId::PreviousPane, [this] { OnNextPane(-1); });
    // The toolbar and status-bar actions are checkable and show or hide
    // their bar themselves.

    // The board's own commands act only while the board is the active pane,
    // and those that need a selected match only with one.
    on(CommandId::AddMatch, [this] {
        if (BoardActive()) {
            board_->OnAddMatch();
        }
    });
    on(CommandId::DeleteMatch, [this] {
        if (BoardActive() && board_->OnUpdateNeedSelection()) {
            board_->OnDeleteMatch();
        }
    });
    on(CommandId::Rotate90, [this] {
        if (BoardActive() && board_->OnUpdateNeedSelection()) {
            board_->OnRotate90();
        }
    });
    for (const SampleCommand& sample : SampleCommands()) {
        on(sample.id, [this, file = QString::fromLatin1(sample.fileName)] {
            if (BoardActive()) {
                board_->OpenSampleRiddle(file);
            }
        });
    }

    for (CommandId id : {CommandId::EditUndo, CommandId::EditCut, CommandId::EditCopy, CommandId::EditPaste}) {
        on(id, [this, id] {
            if (const EditHandler* handler = ActiveEditHandler(id); handler && handler->enabled()) {
                handler->run();
            }
        });
    }
}

void MainWindow::ConnectEditRoutes() {
    const auto always = [] { return true; };
    BoardView* board = board_;
    TaskPane* text = text_;
    InfoPane* ads = ads_;
    editRoutes_[board] = {
        {CommandId::EditUndo,
         {[board] { return board->OnUpdateEditUndo(); }, [board] { board->OnEditUndo(); }}},
        {CommandId::EditCut, {always, [board] { board->OnEditCut(); }}},
        {CommandId::EditCopy, {always, [board] { board->OnEditCopy(); }}},
        {CommandId::EditPaste, {always, [board] { board->OnEditPaste(); }}},
    };
    editRoutes_[text] = {
        {CommandId::EditUndo, {[text] { return text->CanUndo(); }, [text] { text->undo(); }}},
        {CommandId::EditCut, {[text] { return text->HasSelection(); }, [text] { text->cut(); }}},
        {CommandId::EditCopy, {[text] { return text->HasSelection(); }, [text] { text->copy(); }}},
        // Whether the clipboard holds text is found out when Paste runs:
        // asking earlier would wait on the clipboard's owner, and an owner
        // that does not answer froze the pane for seconds at every key.
        {CommandId::EditPaste, {[text] { return !text->isReadOnly(); }, [text] { text->paste(); }}},
    };
    // The information page can only be copied from.
    editRoutes_[ads] = {
        {CommandId::EditCopy,
         {[ads] { return ads->textCursor().hasSelection(); }, [ads] { ads->copy(); }}},
    };
}

void MainWindow::ConnectBoardViewCommands() {
    connect(Action(CommandId::SelectNextMatch), &QAction::triggered, this, [this] {
        if (BoardActive()) {
            board_->OnSelectNextMatch();
        }
    });
    connect(Action(CommandId::SelectPreviousMatch), &QAction::triggered, this, [this] {
        if (BoardActive()) {
            board_->OnSelectPreviousMatch();
        }
    });

    QAction* snap = Action(CommandId::SnapToMatches);
    snap->setCheckable(true);
    const SettingsStore settings;
    snap->setChecked(settings.SnapToMatches());
    board_->SetSnapping(snap->isChecked());
    connect(snap, &QAction::toggled, this, [this](bool on) {
        board_->SetSnapping(on);
        SettingsStore().SetSnapToMatches(on);
    });

    auto updateZoom = [this] {
        const std::span<const int> steps = BoardView::ZoomSteps();
        Action(CommandId::ZoomIn)->setEnabled(board_->Zoom() < steps.back());
        Action(CommandId::ZoomOut)->setEnabled(board_->Zoom() > steps.front());
        Action(CommandId::ZoomActual)->setEnabled(board_->Zoom() != 100);
    };
    board_->SetZoom(settings.Zoom());
    updateZoom();
    connect(board_, &BoardView::ZoomChanged, this, [updateZoom](int percent) {
        SettingsStore().SetZoom(percent);
        updateZoom();
    });
    connect(Action(CommandId::ZoomIn), &QAction::triggered, board_, &BoardView::ZoomIn);
    connect(Action(CommandId::ZoomOut), &QAction::triggered, board_, &BoardView::ZoomOut);
    connect(Action(CommandId::ZoomActual), &QAction::triggered, board_, [this] { board_->SetZoom(100); });
}

bool MainWindow::BoardActive() const {
    return activeView_ == static_cast<QWidget*>(board_);
}

const MainWindow::EditHandler* MainWindow::ActiveEditHandler(CommandId id) const {
    const auto pane = editRoutes_.find(activeView_.data());
    if (pane == editRoutes_.end()) {
        return nullptr;
    }
    const auto handler = pane->second.find(id);
    return handler == pane->second.end() ? nullptr : &handler->second;
}

void MainWindow::UpdateEditCommands() {
    for (CommandId id : {CommandId::EditUndo, CommandId::EditCut, CommandId::EditCopy, CommandId::EditPaste}) {
        const EditHandler* handler = ActiveEditHandler(id);
        Action(id)->setEnabled(handler != nullptr && handler->enabled());
    }
}

void MainWindow::UpdateBoardCommands() {
    const bool boardActive = BoardActive();
    Action(CommandId::AddMatch)->setEnabled(boardActive);
    const bool needSelection = boardActive && board_->OnUpdateNeedSelection();
    Action(CommandId::DeleteMatch)->setEnabled(needSelection);
    Action(CommandId::Rotate90)->setEnabled(needSelection);
    for (const SampleCommand& sample : SampleCommands()) {
        Action(sample.id)->setEnabled(boardActive);
    }
    const bool anyMatch = boardActive && !doc_->MatchList.IsEmpty();
    Action(CommandId::SelectNextMatch)->setEnabled(anyMatch);
    Action(CommandId::SelectPreviousMatch)->setEnabled(anyMatch);
    // Only the board answers the indicator; otherwise it keeps its text.
    if (boardActive) {
        matchCountPane_->setText(board_->OnUpdateIndicatorMatchCount());
    }
}

void MainWindow::UpdateLockIndicators() {
    const LockKeys keys = ReadLockKeys();
    const QString caps = keys.capsLock ? TranslatedText(kCapsText) : QString();
    const QString num = keys.numLock ? TranslatedText(kNumText) : QString();
    if (capsPane_->text() != caps) {
        capsPane_->setText(caps);
    }
    if (numPane_->text() != num) {
        numPane_->setText(num);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!firstPaintSeen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        firstPaintSeen_ = true;
        // Once the whole window is painted and on the screen.
        QTimer::singleShot(0, this, [this] { OnFirstPaint(); });
    } else if (event->type() == QEvent::KeyRelease) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock) {
            QTimer::singleShot(0, this, [this] { UpdateLockIndicators(); });
        }
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
    setWindowTitle(tr("%1[*] - vorlo").arg(TitleName(doc_->Title())));
    setWindowModified(doc_->IsModified());
}

// ----- files -----

bool MainWindow::SaveModified() {
    if (!doc_->IsModified()) {
        return true;
    }
    const QString name =
        doc_->PathName().isEmpty() ? doc_->Title() : QDir::toNativeSeparators(doc_->PathName());
    switch (SavePrompt(tr("Save changes to %1?").arg(ShownName(name)))) {
        case QMessageBox::Save:
            return OnFileSave();
        case QMessageBox::Discard:
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

bool MainWindow::OnFileNew() {
    if (!SaveModified()) {
        return false;
    }
    doc_->OnNewDocument();
    return true;
}

bool MainWindow::OnFileOpen() {
    const QString path = AskFileName(false, OpenDialogFolder());
    if (path.isEmpty()) {
        return false;
    }
    return OpenDocumentFile(path);
}

QString MainWindow::OpenDialogFolder() {
    // The Open dialog starts among the sample riddles until the user has
    // opened a riddle somewhere else; from then on, where that one was.
    const QString elsewhere = pendingOpenFolder ? *pendingOpenFolder : SettingsStore().OpenFolder();
    if (!elsewhere.isEmpty() && QFileInfo(elsewhere).isDir()) {
        return elsewhere;
    }
    return SamplesFolder();
}

QString MainWindow::SamplesFolder() {
    return SettingsStore().InstallationFolder();
}

void MainWindow::RememberOpenFolder(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    const QString samples = SamplesFolder();
    if (!samples.isEmpty() &&
        QFileInfo(samples).canonicalFilePath() == QFileInfo(folder).canonicalFilePath()) {
        return;
    }
    pendingOpenFolder = folder;
}

bool MainWindow::OpenDocumentFile(const QString& path) {
    if (!SaveModified()) {
        return false;
    }
    QString error;
    if (!doc_->OnOpenDocument(path, &error)) {
        ShowError(tr("Cannot open the riddle %1:\n%2")
                      .arg(ShownName(QDir::toNativeSeparators(path)), error));
        RemoveRecentFile(QFileInfo(path).absoluteFilePath());
        return false;
    }
    AddRecentFile(doc_->PathName());
    RememberOpenFolder(doc_->PathName());
    ScheduleSettingsWrite();
    return true;
}

std::unique_ptr<QFileDialog> MainWindow::MakeFileDialog(QWidget* parent, bool forSave,
                                                        const QString& suggestion) {
    auto dialog = std::make_unique<QFileDialog>(parent, forSave ? tr("Save As") : tr("Open"),
                                                suggestion, tr("Vorlo riddle(*.vrl)"));
    if (forSave) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        // The dialog adds the suffix to a bare name before its own check for
        // an existing file, so "precious" is asked about when precious.vrl exists.
        dialog->setDefaultSuffix(QStringLiteral("vrl"));
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    return dialog;
}

bool MainWindow::OnFileSave() {
    // A riddle that cannot be written where it came from (an installed
    // sample, a read-only file or folder) is saved elsewhere: the user is
    // asked where, and Cancel there cancels whatever wanted the save.
    const QString path = doc_->PathName();
    if (!path.isEmpty() && !vorlo::CanReplaceFile(path)) {
        return DoSave(QString());
    }
    return DoSave(path);
}

bool MainWindow::OnFileSaveAs() {
    return DoSave(QString());
}

bool MainWindow::DoSave(QString path) {
    if (path.isEmpty()) {
        path = AskFileName(true, SaveAsSuggestion());
        if (path.isEmpty()) {
            return false;
        }
        // A dialog that left the suffix off had no chance to ask about the
        // file the completed name replaces.
        if (QFileInfo(path).suffix().isEmpty()) {
            path += QStringLiteral(".vrl");
            if (QFileInfo::exists(path) && !ConfirmReplace(path)) {
                return false;
            }
        }
    }
    QString error;
    if (!doc_->OnSaveDocument(path, &error)) {
        ShowError(tr("Cannot save the riddle %1:\n%2")
                      .arg(ShownName(QDir::toNativeSeparators(path)), error));
        return false;
    }
    OnRiddleSaved();
    AddRecentFile(doc_->PathName());
    return true;
}

QString MainWindow::SaveAsSuggestion() const {
    const QString path = doc_->PathName();
    if (path.isEmpty()) {
        return doc_->Title() + QStringLiteral(".vrl");
    }
    if (vorlo::CanReplaceFile(path)) {
        return path;
    }
    // Not in the samples' folder or wherever the file could not be written:
    // among the user's documents, under the same name.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    return QDir(folder).filePath(QFileInfo(path).fileName());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Only a riddle file is taken; other files and remote addresses are
    // refused, so the pointer says so before the drop.
    if (DroppedRiddleFile(event->mimeData()).Found()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (DroppedRiddleFile(event->mimeData()).Found()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const DroppedRiddle riddle = DroppedRiddleFile(event->mimeData());
    if (!riddle.Found()) {
        event->ignore();
        return;
    }
    // Another computer's file is refused as on the command line, with its
    // message; taking it as a local path would open some other file.
    if (!riddle.error.isEmpty()) {
        event->ignore();
        QTimer::singleShot(0, this, [this, error = riddle.error] { ShowError(error); });
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop is over: the save prompt must not hold up the
    // program the file came from, which waits for the drop to end.
    QTimer::singleShot(0, this, [this, path = riddle.path] { OpenDocumentFile(path); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (SaveModified()) {
        // The list is written at every close, changed or not.
        recentFilesPending_ = true;
        FlushSettings();
        event->accept();
    } else {
        event->ignore();
    }
}

// ----- recent files -----

void MainWindow::LoadRecentFiles() {
    recentFiles_ = SettingsStore().RecentFiles(kRecentFileCount);
    UpdateRecentFileMenu();
}

void MainWindow::SaveRecentFiles() const {
    SettingsStore().SetRecentFiles(recentFiles_, kRecentFileCount);
}

void MainWindow::AddRecentFile(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    recentFiles_.removeAll(path);
    recentFiles_.prepend(path);
    while (recentFiles_.size() > kRecentFileCount) {
        recentFiles_.removeLast();
    }
    recentFilesPending_ = true;
    ScheduleSettingsWrite();
    UpdateRecentFileMenu();
}

void MainWindow::RemoveRecentFile(const QString& path) {
    if (recentFiles_.removeAll(path) > 0) {
        recentFilesPending_ = true;
        ScheduleSettingsWrite();
        UpdateRecentFileMenu();
    }
}

void MainWindow::ScheduleSettingsWrite() {
    // Every write syncs the settings file to the disk: a few changes in a row
    // share one, and none delays the window's first paint.
    if (SettingsPending() && !settingsTimer_->isActive()) {
        settingsTimer_->start();
    }
}

bool MainWindow::SettingsPending() const {
    return recentFilesPending_ || pendingOpenFolder.has_value();
}

void MainWindow::FlushSettings() {
    settingsTimer_->stop();
    if (recentFilesPending_) {
        recentFilesPending_ = false;
        SaveRecentFiles();
    }
    std::optional<QString> folder;
    folder.swap(pendingOpenFolder);
    if (folder) {
        SettingsStore().SetOpenFolder(*folder);
    }
}

void MainWindow::UpdateRecentFileMenu() {
    recentPlaceholder_->setVisible(recentFiles_.isEmpty());
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = Action(static_cast<CommandId>(CommandId::RecentFile1 + i));
        if (i < recentFiles_.size()) {
            const QString name = ShownName(QFileInfo(recentFiles_.at(i)).fileName());
            // A "&" in a file name is shown, not taken as a mnemonic.
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"))));
            action->setToolTip(ShownName(QDir::toNativeSeparators(recentFiles_.at(i))));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

// ----- printing -----

QPrinter& MainWindow::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>();
    }
    return *printer_;
}

bool MainWindow::PrintDirect(QPrinter* printer, QString* error) {
    const bool printed = PrintRiddle(printer, *doc_, board_->VisibleBoardRect(), error);
    board_->OnEndPrinting();
    return printed;
}

void MainWindow::OnFilePrint() {
    QPrintDialog dialog(&Printer(), this);
    if (RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    QString error;
    if (!PrintDirect(&Printer(), &error)) {
        ShowError(error);
    }
}

void MainWindow::OnFilePrintPreview() {
    QPrintPreviewDialog dialog(&Printer(), this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        QString error;
        PrintDirect(printer, &error);
    });
    RunModal(dialog);
    board_->OnEndPrinting();
}

void MainWindow::OnFilePrintSetup() {
    QPageSetupDialog dialog(&Printer(), this);
    RunModal(dialog);
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
