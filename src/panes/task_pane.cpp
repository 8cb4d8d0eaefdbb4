// SPDX-License-Identifier: GPL-3.0-or-later
#include "task_pane.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>

#include <algorithm>

#include "riddle_io.h"

QTextOption RiddleTextOption(QTextOption::WrapMode wrap) {
    // Flush right, and read in the direction of its own first letter, so a
    // Hebrew sentence reads right to left and a Latin one keeps its full stop
    // at its end.
    QTextOption option(Qt::AlignRight | Qt::AlignAbsolute);
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setWrapMode(wrap);
    return option;
}

void FormatRiddleParagraphs(QTextDocument* text, QTextOption::WrapMode wrap) {
    text->setDefaultTextOption(RiddleTextOption(wrap));
    // Blocks carry their own format too (what was loaded, or pasted in), so
    // each one is set as well; new paragraphs inherit it from the one they
    // are split from.
    // Inside an edit block the cursor does not lay the text out to remember
    // its column at every move: for one paragraph of megabytes that layout
    // cost more than showing the text.
    QTextCursor cursor(text);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    format.setLayoutDirection(Qt::LayoutDirectionAuto);
    cursor.mergeBlockFormat(format);
    cursor.endEditBlock();
}

TaskPane::TaskPane(RiddleDocument* doc, QWidget* parent) : QTextEdit(parent), doc_(doc) {
    // Formatting pasted in from elsewhere would not survive a save anyway.
    setAcceptRichText(false);
    setAccessibleName(tr("Task"));
    setAccessibleDescription(tr("The riddle's task: what the player must do"));
    setDocument(doc_->textDocument());
    SetWrap(WrapFor(doc_->plainText()));
    connect(doc_, &RiddleDocument::reset, this, &TaskPane::OnInitialUpdate);
    // The text belongs to the document: should the document go first, the
    // pane lets go of it while it still exists.
    connect(doc_, &QObject::destroyed, this, &TaskPane::ReleaseText);
}

TaskPane::~TaskPane() = default;

void TaskPane::ReleaseText() {
    doc_ = nullptr;
    setDocument(nullptr);
}

void TaskPane::OnInitialUpdate() {
    AlignAllParagraphs();
    // Aligning is no edit of the user's: it is neither undoable nor a change.
    document()->clearUndoRedoStacks();
    if (doc_) {
        doc_->setModified(false);
    }
}

QTextOption::WrapMode TaskPane::WrapFor(const QString& text) {
    return vorlo::HasUnwrappableWord(text) ? QTextOption::WrapAnywhere
                                           : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

void TaskPane::SetWrap(QTextOption::WrapMode wrap) {
    // The editor keeps a wrap mode of its own and hands it to the document.
    setWordWrapMode(wrap);
    document()->setDefaultTextOption(RiddleTextOption(wrap));
}

void TaskPane::AlignAllParagraphs() {
    const QTextOption::WrapMode wrap =
        WrapFor(doc_ ? doc_->plainText() : document()->toPlainText());
    SetWrap(wrap);
    FormatRiddleParagraphs(document(), wrap);
    QTextCursor start(document());
    setTextCursor(start);
}

void TaskPane::insertFromMimeData(const QMimeData* source) {
    // QTextEdit would insert a document fragment, whose paragraphs bring
    // their own (left-aligned) format along.
    if (source == nullptr || !source->hasText()) {
        return;
    }
    QString text = source->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // A pasted word of megabytes would freeze the word wrap as a loaded one
    // would; the wrap stays as it is for the rest of this riddle.
    if (wordWrapMode() != QTextOption::WrapAnywhere && vorlo::HasUnwrappableWord(text)) {
        SetWrap(QTextOption::WrapAnywhere);
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool TaskPane::canInsertFromMimeData(const QMimeData* source) const {
    // Files from a file manager are for the window to open, and addresses
    // that come without a text of their own are no text either.
    if (source != nullptr && source->hasUrls()) {
        const QList<QUrl> urls = source->urls();
        if (!source->hasFormat(QStringLiteral("text/plain")) ||
            std::any_of(urls.begin(), urls.end(),
                        [](const QUrl& url) { return url.isLocalFile(); })) {
            return false;
        }
    }
    return QTextEdit::canInsertFromMimeData(source);
}

bool TaskPane::CanUndo() const {
    return document()->isUndoAvailable();
}

bool TaskPane::HasSelection() const {
    return textCursor().hasSelection();
}
