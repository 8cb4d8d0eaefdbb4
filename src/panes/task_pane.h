// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The riddle's task text below the board: plain text, right-aligned, each
// paragraph read in the direction of its first letter (Hebrew right to left,
// Latin left to right), edited in place in the document's text.

#include <QTextEdit>
#include <QTextOption>

#include "riddle_document.h"

class QTextDocument;

// How a riddle's task is laid out on the screen and on paper: every
// paragraph right-aligned, each in the direction of its first letter.
QTextOption RiddleTextOption(QTextOption::WrapMode wrap);
// Gives every paragraph of `text` that layout, the ones already there
// included (an undoable change of the document: callers clear the history).
void FormatRiddleParagraphs(QTextDocument* text, QTextOption::WrapMode wrap);

class TaskPane : public QTextEdit {
    Q_OBJECT

public:
    explicit TaskPane(RiddleDocument* doc, QWidget* parent = nullptr);
    ~TaskPane() override;

    RiddleDocument* riddleDocument() const { return doc_; }

    // New contents: every paragraph right-aligned, nothing to undo, not
    // modified.
    void OnInitialUpdate();
    // The board's changes do not concern the text.
    void OnUpdate(QObject* sender, int hint);

    // Whether the text commands can act now (the pane's own enable state).
    bool CanUndo() const;
    bool HasSelection() const;

protected:
    // Pasted and dropped text comes in as plain text in the paragraph format
    // around it, so it stays right-aligned.
    void insertFromMimeData(const QMimeData* source) override;
    // Files dragged from a file manager are for the window to open, not text.
    // Text with a link in it is still taken.
    bool canInsertFromMimeData(const QMimeData* source) const override;

private:
    // At word boundaries, and anywhere within a word too long for a line; a
    // text with a word no reader would type (a hostile file's megabytes
    // without a space) anywhere, which lays out in linear time.
    static QTextOption::WrapMode WrapFor(const QString& text);
    void SetWrap(QTextOption::WrapMode wrap);

    void AlignAllParagraphs();
    void ReleaseText();

    RiddleDocument* doc_;
};
