// SPDX-License-Identifier: GPL-3.0-or-later
#include "book_commands.h"

#include <QAction>
#include <QFuture>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

#include "book_window.h"
#include "file_commands.h"
#include "next_unsolved.h"
#include "play_session.h"
#include "progress_store.h"
#include "riddle_document.h"

namespace {

vorlo::TilePlaces UserPlaces() {
    return {vorlo::ProgressStore::DefaultFolder(), vorlo::DefaultThumbnailFolder()};
}

}  // namespace

BookCommands::BookCommands(QWidget* window, RiddleDocument* doc, FileCommands& files,
                           std::function<QAction*(vorlo::CommandId)> action,
                           std::function<void(const QString&)> notify)
    : window_(window), doc_(doc), files_(files), notify_(std::move(notify)) {
    connect(action(vorlo::CommandId::GameBook), &QAction::triggered, this, [this] { ShowBook(); });
    connect(action(vorlo::CommandId::GameNextUnsolved), &QAction::triggered, this,
            [this] { PlayNextUnsolved(); });
    connect(doc_->play(), &PlaySession::kept, this, [this](const QString& key) {
        if (book_) {
            book_->refreshKey(key);
        }
    });
}

BookCommands::~BookCommands() = default;

void BookCommands::ShowBook() {
    if (!book_) {
        // A window of its own, not held above the main window, and not one
        // that keeps the program running once the main window is closed.
        book_ = std::make_unique<BookWindow>(UserPlaces());
        book_->setAttribute(Qt::WA_QuitOnClose, false);
        book_->setWindowIcon(window_->windowIcon());
        connect(book_.get(), &BookWindow::openRequested, this, &BookCommands::Open);
        // Beside the main window where the screen has room, else over it.
        const QScreen* screen = window_->screen();
        const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
        const QRect frame = window_->frameGeometry();
        QPoint at = frame.topLeft() + QPoint(40, 40);
        if (available.isValid()) {
            if (frame.right() + book_->width() < available.right()) {
                at = QPoint(frame.right() + 1, frame.top());
            }
            at.setX(std::clamp(at.x(), available.left(),
                               std::max(available.left(), available.right() - book_->width())));
            at.setY(std::clamp(at.y(), available.top(),
                               std::max(available.top(), available.bottom() - book_->height())));
        }
        book_->move(at);
    } else {
        book_->reloadChapters();
    }
    book_->show();
    book_->raise();
    book_->activateWindow();
}

void BookCommands::CloseBook() {
    if (book_) {
        book_->close();
    }
}

void BookCommands::Open(const QString& path) {
    if (files_.OpenDocumentFile(path, FileCommands::PlayChoice::Always)) {
        window_->raise();
        window_->activateWindow();
    }
}

void BookCommands::PlayNextUnsolved() {
    if (searching_) {
        return;
    }
    searching_ = true;
    const QString current = doc_->pathName();
    QtConcurrent::run([chapters = vorlo::BookChapters::ForUser(), current, places = UserPlaces()] {
        return vorlo::NextUnsolvedRiddle(chapters, current, places);
    }).then(this, [this](const QString& next) {
        searching_ = false;
        if (next.isEmpty()) {
            notify_(tr("Every riddle of the book is solved"));
            return;
        }
        Open(next);
    });
}
