// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's Revert to Saved and Save as Solution, the moved pane and
// the note that tells a player the riddle is solved.

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

#include "main_window.h"
#include "riddle_io.h"
#include "riddle_progress.h"
#include "shown_name.h"
#include "solution_files.h"
#include "riddle_document.h"
#include "board_view.h"

using namespace vorlo;

namespace {

// A drag changes the board without announcing each step; the comparison
// runs again when the button or a key comes up (the progress compares only
// when the board changed since it last did, so a click, a Tab or a key that
// moved nothing costs nothing), and the note keeps to the board's corner
// when the board is resized.
class BoardWatch : public QObject {
public:
    BoardWatch(QObject* parent, std::function<void()> changed, std::function<void()> resized)
        : QObject(parent), changed_(std::move(changed)), resized_(std::move(resized)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonRelease:
            case QEvent::KeyRelease:
                changed_();
                break;
            case QEvent::Resize:
                resized_();
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> changed_;
    std::function<void()> resized_;
};

}  // namespace

void MainWindow::CreateSolutionCommands() {
    ConfirmRevert = [this](const QString& question) {
        return QMessageBox::question(this, tr("vorlo"), question,
                                     QMessageBox::Yes | QMessageBox::Cancel,
                                     QMessageBox::Cancel) == QMessageBox::Yes;
    };
    connect(Action(CommandId::FileRevert), &QAction::triggered, this, [this] { OnFileRevert(); });
    connect(Action(CommandId::FileSaveSolution), &QAction::triggered, this,
            [this] { OnFileSaveSolution(); });
    connect(doc_, &RiddleDocument::TitleChanged, this, [this] { UpdateSolutionCommands(); });
    AskExportPicture = [this](bool* withText) { return AskExportPictureDefault(withText); };
    connect(Action(CommandId::FileExportPicture), &QAction::triggered, this,
            [this] { OnFileExportPicture(); });

    // The moved pane lies left of the match count and is wide enough for a
    // five-digit count.
    movedPane_ = new QLabel(StatusBar);
    movedPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    movedPane_->setAlignment(Qt::AlignCenter);
    movedPane_->setMinimumWidth(
        movedPane_->fontMetrics().horizontalAdvance(tr("Moved: %1").arg(99999)) +
        2 * movedPane_->frameWidth() + 6);
    StatusBar->insertPermanentWidget(StatusBar->layout() ? 1 : 0, movedPane_);

    solvedNote_ = new QLabel(board_->viewport());
    solvedNote_->setObjectName(QStringLiteral("SolvedNote"));
    solvedNote_->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Its style sheet is given when it is first shown: a style sheet builds
    // a style of its own for the label, which no start should wait for.
    solvedNote_->hide();

    auto* watch = new BoardWatch(
        this, [this] { progress_->Refresh(); }, [this] { PlaceSolvedNote(); });
    board_->installEventFilter(watch);
    board_->viewport()->installEventFilter(watch);

    progress_ = new RiddleProgress(doc_, this);
    connect(progress_, &RiddleProgress::Changed, this, [this] { ShowProgress(); });
    connect(progress_, &RiddleProgress::SolutionRefused, this,
            [this](const QString& path, qulonglong matches, qulonglong limit) {
                StatusBar->showMessage(
                    tr("The solution %1 is left unread: it holds %2 matches, more than the %3 "
                       "a solution of this riddle may hold.")
                        .arg(QFileInfo(path).fileName())
                        .arg(matches)
                        .arg(limit),
                    10000);
            });
    ShowProgress();
    UpdateSolutionCommands();
}

void MainWindow::UpdateSolutionCommands() {
    const bool saved = !doc_->PathName().isEmpty();
    Action(CommandId::FileRevert)->setEnabled(saved);
    Action(CommandId::FileSaveSolution)->setEnabled(saved);
}

void MainWindow::ShowProgress() {
    const size_t moved = progress_->Moved();
    movedPane_->setText(progress_->Solved() ? tr("Solved") : tr("Moved: %1").arg(moved));
    if (!progress_->Solved()) {
        solvedNote_->hide();
        return;
    }
    if (solvedNote_->styleSheet().isEmpty()) {
        solvedNote_->setStyleSheet(
            QStringLiteral("QLabel { background: rgba(232, 245, 233, 230); color: #1b5e20;"
                           " border: 1px solid #81c784; border-radius: 6px; padding: 6px 10px; }"));
    }
    solvedNote_->setText(moved == 1 ? tr("Solved, with 1 match moved.")
                                    : tr("Solved, with %1 matches moved.").arg(moved));
    solvedNote_->adjustSize();
    PlaceSolvedNote();
    solvedNote_->show();
}

void MainWindow::PlaceSolvedNote() {
    // The top right corner of the board, out of the way of the matches,
    // which usually begin at the top left.
    constexpr int kMargin = 10;
    const QWidget* port = board_->viewport();
    solvedNote_->move(std::max(0, port->width() - solvedNote_->width() - kMargin), kMargin);
}

void MainWindow::OnRiddleSaved() {
    progress_->Rebase();
}

bool MainWindow::OnFileRevert() {
    const QString path = doc_->PathName();
    if (path.isEmpty()) {
        return false;
    }
    if (doc_->IsModified() &&
        !ConfirmRevert(tr("Revert to the riddle as saved in %1?\nThe changes made since are lost.")
                           .arg(ShownName(QDir::toNativeSeparators(path))))) {
        return false;
    }
    QString error;
    if (!doc_->OnOpenDocument(path, &error)) {
        ShowError(tr("Cannot open the riddle %1:\n%2")
                      .arg(ShownName(QDir::toNativeSeparators(path)), error));
        return false;
    }
    return true;
}

bool MainWindow::OnFileSaveSolution() {
    if (doc_->PathName().isEmpty()) {
        return false;
    }
    const QString path = QFile::decodeName(QByteArray::fromStdString(
        NextSolutionPath(QFile::encodeName(doc_->PathName()).toStdString())));
    QString error;
    if (!SaveRiddleFile(path, doc_->MatchList, doc_->PlainText(), &error)) {
        ShowError(tr("Cannot save the solution %1:\n%2")
                      .arg(ShownName(QDir::toNativeSeparators(path)), error));
        return false;
    }
    progress_->ReloadSolutions();
    StatusBar->showMessage(
        tr("Saved the solution as %1").arg(ShownName(QFileInfo(path).fileName())), 5000);
    return true;
}
