// SPDX-License-Identifier: GPL-3.0-or-later
#include "vorlo_doc.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "riddle_io.h"

CVorloDoc::CVorloDoc(QObject* parent) : QObject(parent), text_(new QTextDocument(this)) {
    connect(text_, &QTextDocument::modificationChanged, this, [this] {
        const bool modified = IsModified();
        if (modified != lastReportedModified_) {
            lastReportedModified_ = modified;
            emit ModifiedChanged(modified);
        }
    });
}

CVorloDoc::~CVorloDoc() = default;

namespace {

constexpr int kFrameMarkProperty = QTextFormat::UserProperty + 1;
constexpr char16_t kFrameMarkStandIn = 0xFDD2;

bool IsFrameMark(QChar c) {
    return c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}

}  // namespace

QString CVorloDoc::PlainText() const {
    return RiddleText(*text_);
}

void CVorloDoc::SetRiddleText(QTextDocument& document, const QString& text) {
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

QString CVorloDoc::RiddleText(const QTextDocument& document) {
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

void CVorloDoc::UpdateAllViews(QObject* sender, int hint) {
    emit ViewsUpdate(sender, hint);
    emit ContentsChanged();
}

void CVorloDoc::InitialUpdateAllViews() {
    emit InitialUpdate();
    emit ContentsChanged();
}

bool CVorloDoc::OnNewDocument() {
    SelectedMatch = {};
    LastAction = vorlo::ActionNone;
    DeleteContents();
    ResetTextHistory();
    SetPathName(QString());
    SetModifiedFlag(false);
    InitialUpdateAllViews();
    return true;
}

bool CVorloDoc::OnOpenDocument(const QString& path, QString* error) {
    // Read everything first: a file that cannot be read leaves the open
    // riddle untouched.
    vorlo::RiddleReadResult result = vorlo::LoadRiddleFile(path);
    if (!result.ok) {
        if (error) {
            *error = vorlo::RiddleReadErrorText(result);
        }
        return false;
    }
    SelectedMatch = {};
    LastAction = vorlo::ActionNone;
    DeleteContents();
    MatchList = std::move(result.riddle.matches);
    SetRiddleText(*text_, QString::fromUtf8(result.riddle.text));
    ResetTextHistory();
    SetPathName(QFileInfo(path).absoluteFilePath());
    SetModifiedFlag(false);
    InitialUpdateAllViews();
    return true;
}

bool CVorloDoc::OnSaveDocument(const QString& path, QString* error) {
    if (!vorlo::SaveRiddleFile(path, MatchList, PlainText(), error)) {
        return false;
    }
    SetPathName(QFileInfo(path).absoluteFilePath());
    SetModifiedFlag(false);
    return true;
}

void CVorloDoc::DeleteContents() {
    vorlo::RiddleState::DeleteContents();
    text_->clear();
}

void CVorloDoc::ResetTextHistory() {
    text_->clearUndoRedoStacks();
}

bool CVorloDoc::IsModified() const {
    return boardModified_ || text_->isModified();
}

void CVorloDoc::SetModifiedFlag(bool modified) {
    boardModified_ = modified;
    if (!modified) {
        text_->setModified(false);
    }
    const bool now = IsModified();
    if (now != lastReportedModified_) {
        lastReportedModified_ = now;
        emit ModifiedChanged(now);
    }
}

QString CVorloDoc::Title() const {
    return pathName_.isEmpty() ? tr("riddle") : QFileInfo(pathName_).fileName();
}

void CVorloDoc::SetPathName(const QString& path) {
    pathName_ = path;
    emit TitleChanged();
}
