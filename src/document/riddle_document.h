// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one open riddle: its matches (with selection and last action) and its
// task text. The views that show it listen to its signals.
//
// The document is created once and reused by every New and Open. The matches
// live in the RiddleState base; the text lives in a QTextDocument that the
// text pane shows and edits directly, so the riddle counts as modified when
// either the board or the text changed.

#include <QObject>
#include <QString>

#include "riddle.h"

class QTextDocument;

class RiddleDocument : public QObject, public vorlo::RiddleState {
    Q_OBJECT

public:
    explicit RiddleDocument(QObject* parent = nullptr);
    ~RiddleDocument() override;

    // The riddle's text, shown and edited by the text pane.
    QTextDocument* Text() const { return text_; }
    // The text as it goes into a riddle file: paragraphs separated by "\n".
    QString PlainText() const;

    // A riddle's text into a text document, and back, unchanged: the text
    // document reads U+FDD0 and U+FDD1 as the start and end of its frames and
    // breaks a paragraph at each, so these stand in it as another character
    // that carries their code in its format.
    static void SetRiddleText(QTextDocument& document, const QString& text);
    static QString RiddleText(const QTextDocument& document);

    // Tells every view that something changed: `sender` names the view that
    // made the change and has already shown it (nullptr: every view updates).
    void UpdateAllViews(QObject* sender, int hint);

    // Starts an empty riddle: no matches, no text, nothing to undo.
    bool newRiddle();
    // Reads `path`. On failure the open riddle stays exactly as it was and
    // `error` says why.
    bool open(const QString& path, QString* error);
    // Writes the riddle to `path` atomically; on failure the old file is kept.
    bool save(const QString& path, QString* error);

    // Empties the matches, the selection and the text; LastAction stays.
    void DeleteContents();

    // Modified when the board set its flag or the text was edited.
    bool isModified() const;
    void setModified(bool modified = true);

    // The file the riddle was opened from or saved to; empty for a new one.
    const QString& PathName() const { return pathName_; }
    // "riddle" for a new riddle, otherwise the file's name.
    QString Title() const;

signals:
    // After New and after Open, when the document holds its new contents.
    void reset();
    // After every change announced with UpdateAllViews.
    void ViewsUpdate(QObject* sender, int hint);
    // The modified state or the title may have changed.
    void modifiedChanged(bool modified);
    void titleChanged();
    // After UpdateAllViews and after New and Open: command states may differ.
    void contentsChanged();
    // Just before the board's editor changes the matches.
    void boardAboutToChange();

private:
    void InitialUpdateAllViews();
    void SetPathName(const QString& path);
    void ResetTextHistory();

    QTextDocument* text_;
    bool boardModified_ = false;
    bool lastReportedModified_ = false;
    QString pathName_;
};
