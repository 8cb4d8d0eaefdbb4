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

#include "board_editor.h"
#include "riddle.h"

class PlaySession;
class QTextDocument;
class RiddleProgress;

class RiddleDocument : public QObject, public vorlo::RiddleState, private vorlo::BoardHost {
    Q_OBJECT

public:
    explicit RiddleDocument(QObject* parent = nullptr);
    ~RiddleDocument() override;

    // The riddle's text, shown and edited by the text pane.
    QTextDocument* textDocument() const { return text_; }
    // The text as it goes into a riddle file: paragraphs separated by "\n".
    QString plainText() const;

    // A riddle's text into a text document, and back, unchanged: the text
    // document reads U+FDD0 and U+FDD1 as the start and end of its frames and
    // breaks a paragraph at each, so these stand in it as another character
    // that carries their code in its format.
    static void SetRiddleText(QTextDocument& document, const QString& text);
    static QString RiddleText(const QTextDocument& document);

    // The editor every change of the board goes through: the mouse, the keys,
    // the commands and the clipboard. It lives as long as the document.
    vorlo::BoardEditor& editor() { return editor_; }
    const vorlo::BoardEditor& editor() const { return editor_; }

    // How far the board has come from the riddle, and whether it is solved.
    RiddleProgress* progress() const { return progress_; }
    // Playing the riddle: while it plays, the board is the player's and the
    // riddle's file and modified state are left alone.
    PlaySession* play() const { return play_; }
    bool isPlaying() const;

    // Shows `matches` as the whole board, as New and Open do, without
    // touching the file, the text or the modified state (the end of play
    // shows the riddle as its file holds it again).
    void showBoard(const vorlo::MatchList& matches);

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
    const QString& pathName() const { return pathName_; }
    // "riddle" for a new riddle, otherwise the file's name.
    QString title() const;

signals:
    // After New and after Open, when the document holds its new contents;
    // boardChanged (Replaced) follows.
    void reset();
    // After every change of the board, the selection included, once each.
    void boardChanged(const vorlo::BoardChange& change);
    // The task text was edited.
    void textChanged();
    // The modified state or the title may have changed.
    void modifiedChanged(bool modified);
    void titleChanged();
    // After boardChanged and after New and Open: command states may differ.
    void contentsChanged();
    // Just before the board's editor changes the matches.
    void boardAboutToChange();

private:
    // BoardHost
    void AboutToChange() override;
    void BoardChanged(const vorlo::BoardChange& change, bool modifies) override;

    void AnnounceReplaced();
    void SetPathName(const QString& path);
    void ResetTextHistory();

    QTextDocument* text_;
    bool boardModified_ = false;
    bool lastReportedModified_ = false;
    QString pathName_;
    vorlo::BoardEditor editor_{*this, *this};
    RiddleProgress* progress_ = nullptr;
    PlaySession* play_ = nullptr;
};
