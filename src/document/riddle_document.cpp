// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_document.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>

#include "play_session.h"
#include "riddle_io.h"
#include "riddle_progress.h"

RiddleDocument::RiddleDocument(QObject* parent) : QObject(parent), text_(new QTextDocument(this)) {
    connect(text_, &QTextDocument::modificationChanged, this, [this] {
        const bool modified = isModified();
        if (modified != lastReportedModified_) {
            lastReportedModified_ = modified;
            emit modifiedChanged(modified);
        }
    });
    connect(text_, &QTextDocument::contentsChanged, this, &RiddleDocument::textChanged);
    progress_ = new RiddleProgress(this, this);
    play_ = new PlaySession(this, progress_, this);
}

RiddleDocument::~RiddleDocument() {
    // The game is kept, and the parts that look at the board go, while the
    // board is still whole.
    delete play_;
    delete progress_;
}

namespace {

constexpr int kFrameMarkProperty = QTextFormat::UserProperty + 1;
constexpr char16_t kFrameMarkStandIn = 0xFDD2;

bool IsFrameMark(QChar c) {
    return c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}

}  // namespace

QString RiddleDocument::plainText() const {
    return RiddleText(*text_);
}

void RiddleDocument::SetRiddleText(QTextDocument& document, const QString& text) {
    // A word of megabytes must not meet the word-or-anywhere wrap even once:
    // the text is laid out as it goes in, before the pane sees it.
    if (vorlo::HasUnwrappableWord(text)) {
        QTextOption option = document.defaultTextOption();
        option.setWrapMode(QTextOption::WrapAnywhere);
        document.setDefaultTextOption(option);
    }
    if (std::none_of(text.begin(), text.end(), IsFrameMark)) {
        document.setPlainText(text);
        return;
    }
    document.setPlainText(QString());
    QTextCursor cursor(&document);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsFrameMark(text[i])) {
            cursor.insertText(text.mid(start, i - start), QTextCharFormat());
            QTextCharFormat mark;
            mark.setProperty(kFrameMarkProperty, int(text[i].unicode()));
            cursor.insertText(QString(QChar(kFrameMarkStandIn)), mark);
            start = i + 1;
        }
    }
    cursor.insertText(text.mid(start), QTextCharFormat());
}

QString RiddleDocument::RiddleText(const QTextDocument& document) {
    // The fragments' own text keeps no-break spaces (toPlainText would turn
    // them into blanks); paragraphs and line separators end in the file's
    // line break.
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            text += QLatin1Char('\n');
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QString part = fragment.text();
            const QVariant mark = fragment.charFormat().property(kFrameMarkProperty);
            if (mark.isValid()) {
                part.replace(QChar(kFrameMarkStandIn), QChar(char16_t(mark.toInt())));
            }
            text += part;
        }
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void RiddleDocument::AboutToChange() {
    emit boardAboutToChange();
}

bool RiddleDocument::isPlaying() const {
    return play_ && play_->isPlaying();
}

void RiddleDocument::showBoard(const vorlo::MatchList& matches) {
    // Nothing done before is left to undo on the board shown.
    SelectedMatch = {};
    LastAction = vorlo::ActionNone;
    MatchList = matches;
    AnnounceReplaced();
}

void RiddleDocument::BoardChanged(const vorlo::BoardChange& change, bool modifies) {
    // A game's moves are the player's, not an edit of the riddle.
    if (modifies && !isPlaying()) {
        setModified(true);
    }
    emit boardChanged(change);
    emit contentsChanged();
}

void RiddleDocument::AnnounceReplaced() {
    // The matches were all replaced: nothing the undo store points at is left.
    editor_.OnDocumentReset();
    emit reset();
    emit boardChanged(vorlo::BoardChange{});
    emit contentsChanged();
}

bool RiddleDocument::newRiddle() {
    play_->abandon();
    SelectedMatch = {};
    LastAction = vorlo::ActionNone;
    DeleteContents();
    ResetTextHistory();
    SetPathName(QString());
    setModified(false);
    AnnounceReplaced();
    return true;
}

bool RiddleDocument::open(const QString& path, QString* error) {
    // Read everything first: a file that cannot be read leaves the open
    // riddle untouched.
    vorlo::RiddleReadResult result = vorlo::LoadRiddleFile(path);
    if (!result.ok) {
        if (error) {
            *error = vorlo::RiddleReadErrorText(result);
        }
        return false;
    }
    play_->abandon();
    SelectedMatch = {};
    LastAction = vorlo::ActionNone;
    DeleteContents();
    MatchList = std::move(result.riddle.matches);
    SetRiddleText(*text_, QString::fromUtf8(result.riddle.text));
    ResetTextHistory();
    SetPathName(QFileInfo(path).absoluteFilePath());
    setModified(false);
    AnnounceReplaced();
    return true;
}

bool RiddleDocument::save(const QString& path, QString* error) {
    if (!vorlo::SaveRiddleFile(path, MatchList, plainText(), error)) {
        return false;
    }
    SetPathName(QFileInfo(path).absoluteFilePath());
    setModified(false);
    return true;
}

void RiddleDocument::DeleteContents() {
    vorlo::RiddleState::DeleteContents();
    text_->clear();
}

void RiddleDocument::ResetTextHistory() {
    text_->clearUndoRedoStacks();
}

bool RiddleDocument::isModified() const {
    return boardModified_ || text_->isModified();
}

void RiddleDocument::setModified(bool modified) {
    boardModified_ = modified;
    if (!modified) {
        text_->setModified(false);
    }
    const bool now = isModified();
    if (now != lastReportedModified_) {
        lastReportedModified_ = now;
        emit modifiedChanged(now);
    }
}

QString RiddleDocument::title() const {
    return pathName_.isEmpty() ? tr("riddle") : QFileInfo(pathName_).fileName();
}

void RiddleDocument::SetPathName(const QString& path) {
    pathName_ = path;
    emit titleChanged();
}
