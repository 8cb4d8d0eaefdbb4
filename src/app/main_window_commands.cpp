// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's routing: which pane is active, each command's action
// connected to its handler, the Edit commands sent to the active pane, and
// the enable states that follow them.

#include <QAction>
#include <QTextEdit>
#include <QToolTip>
#include <QUndoStack>

#include <span>

#include "board_view.h"
#include "file_commands.h"
#include "info_pane.h"
#include "main_window.h"
#include "play_session.h"
#include "print_commands.h"
#include "riddle_document.h"
#include "settings_store.h"
#include "task_pane.h"
#include "window_status.h"

using namespace vorlo;

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
    on(CommandId::FileNew, [this] { files_->OnFileNew(); });
    on(CommandId::FileOpen, [this] { files_->OnFileOpen(); });
    on(CommandId::FileSave, [this] { files_->OnFileSave(); });
    on(CommandId::FileSaveAs, [this] { files_->OnFileSaveAs(); });
    on(CommandId::FilePrint, [this] { printing_->OnFilePrint(); });
    on(CommandId::FilePrintDirect, [this] {
        QString error;
        if (!printing_->PrintDirect(&printing_->Printer(), &error)) {
            ShowError(error);
        }
    });
    on(CommandId::FilePrintPreview, [this] { printing_->OnFilePrintPreview(); });
    on(CommandId::FileRevert, [this] { files_->OnFileRevert(); });
    on(CommandId::FileSaveSolution, [this] { files_->OnFileSaveSolution(); });
    on(CommandId::FileExportPicture, [this] { printing_->OnFileExportPicture(); });
    on(CommandId::FilePrintSetup, [this] { printing_->OnFilePrintSetup(); });
    for (int i = 0; i < kRecentFileCount; ++i) {
        on(RecentFileCommand(i), [this, i] { files_->OpenRecentFile(i); });
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
            board_->addMatch();
        }
    });
    on(CommandId::DeleteMatch, [this] {
        if (BoardActive() && board_->hasSelection()) {
            board_->deleteMatch();
        }
    });
    on(CommandId::Rotate90, [this] {
        if (BoardActive() && board_->hasSelection()) {
            board_->rotateTo90();
        }
    });
    for (const SampleCommand& sample : SampleCommands()) {
        on(sample.id, [this, file = QString::fromLatin1(sample.fileName)] {
            if (BoardActive()) {
                files_->OpenSampleRiddle(file);
            }
        });
    }

    for (CommandId id : {CommandId::EditUndo, CommandId::EditRedo, CommandId::EditCut,
                         CommandId::EditCopy, CommandId::EditPaste}) {
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
    // While a riddle is played, Undo and Redo walk its moves, and nothing
    // may add or take away a match.
    RiddleDocument* doc = doc_;
    QUndoStack* moves = doc_->play()->history();
    const auto editing = [doc] { return !doc->isPlaying(); };
    editRoutes_[board] = {
        {CommandId::EditUndo,
         {[doc, board, moves] { return doc->isPlaying() ? moves->canUndo() : board->canUndo(); },
          [doc, board, moves] { doc->isPlaying() ? moves->undo() : board->undo(); }}},
        {CommandId::EditRedo,
         {[doc, moves] { return doc->isPlaying() && moves->canRedo(); },
          [moves] { moves->redo(); }}},
        {CommandId::EditCut, {editing, [board] { board->cut(); }}},
        {CommandId::EditCopy, {always, [board] { board->copy(); }}},
        {CommandId::EditPaste, {editing, [board] { board->paste(); }}},
    };
    editRoutes_[text] = {
        {CommandId::EditUndo,
         {[text] { return text->CanUndo() && !text->isReadOnly(); }, [text] { text->undo(); }}},
        {CommandId::EditCut,
         {[text] { return text->HasSelection() && !text->isReadOnly(); }, [text] { text->cut(); }}},
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
            board_->selectNextMatch();
        }
    });
    connect(Action(CommandId::SelectPreviousMatch), &QAction::triggered, this, [this] {
        if (BoardActive()) {
            board_->selectPreviousMatch();
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
    // Once ever, where a dropped match just missed another one's end, the
    // board says that snapping would have made them meet.
    connect(board_, &BoardView::DroppedNearAnother, this, [this](QPoint globalPos) {
        SettingsStore store;
        if (store.SnapTipShown()) {
            return;
        }
        store.SetSnapTipShown();
        QToolTip::showText(globalPos, SnapTip(), board_, QRect(), 8000);
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
    connect(Action(CommandId::ZoomActual), &QAction::triggered, board_,
            [this] { board_->SetZoom(100); });
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
    for (CommandId id : {CommandId::EditUndo, CommandId::EditRedo, CommandId::EditCut,
                         CommandId::EditCopy, CommandId::EditPaste}) {
        const EditHandler* handler = ActiveEditHandler(id);
        Action(id)->setEnabled(handler != nullptr && handler->enabled());
    }
}

void MainWindow::UpdateBoardCommands() {
    const bool boardActive = BoardActive();
    const bool editing = !doc_->isPlaying();
    Action(CommandId::AddMatch)->setEnabled(boardActive && editing);
    const bool needSelection = boardActive && board_->hasSelection();
    Action(CommandId::DeleteMatch)->setEnabled(needSelection && editing);
    Action(CommandId::Rotate90)->setEnabled(needSelection);
    for (const SampleCommand& sample : SampleCommands()) {
        Action(sample.id)->setEnabled(boardActive);
    }
    const bool anyMatch = boardActive && !doc_->MatchList.IsEmpty();
    Action(CommandId::SelectNextMatch)->setEnabled(anyMatch);
    Action(CommandId::SelectPreviousMatch)->setEnabled(anyMatch);
    // Only the board answers the indicator; otherwise it keeps its text.
    if (boardActive) {
        status_->SetMatchCount(board_->matchCountText());
    }
}

QString MainWindow::SnapTip() {
    return tr(
        "Tip: with Match > Snap to Matches on, a match dropped this close to another "
        "one's end meets it exactly.");
}
