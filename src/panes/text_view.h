#pragma once

// The riddle's task text below the board: plain text, right-aligned and read
// right to left, edited in place in the document's text.

#include <QTextEdit>

#include "vorlo_doc.h"

class CTextView : public QTextEdit, public CDocView {
    Q_OBJECT

public:
    explicit CTextView(CVorloDoc* doc, QWidget* parent = nullptr);
    ~CTextView() override;

    CVorloDoc* GetDocument() const { return doc_; }

    // CDocView: every paragraph right-aligned, nothing to undo, not modified.
    void OnInitialUpdate() override;
    // The board's changes do not concern the text.
    void OnUpdate(int hint) override;

    // Whether the text commands can act now (the pane's own enable state).
    bool CanUndo() const;
    bool HasSelection() const;

protected:
    // Pasted and dropped text comes in as plain text in the paragraph format
    // around it, so it stays right-aligned.
    void insertFromMimeData(const QMimeData* source) override;

private:
    void AlignAllParagraphs();

    CVorloDoc* doc_;
};
