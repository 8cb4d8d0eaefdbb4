// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Help, Instructions: the Hebrew user guide in a read-only text box, right
// to left and right-aligned.

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

namespace vorlo {

class InstructionsDialog : public QDialog {
    Q_OBJECT

public:
    // The guide in the interface's language, or in Hebrew when `hebrew`
    // says so.
    explicit InstructionsDialog(QWidget* parent = nullptr);
    InstructionsDialog(QWidget* parent, bool hebrew);

    // The guide, one entry per line (the twelfth is empty).
    static QStringList InstructionLines();
    // The guide in English, shown with the English interface.
    static QStringList EnglishInstructionLines();
    // The lines the dialog shows: Hebrew with the Hebrew interface.
    static QStringList ShownLines(bool hebrew);

    // The Hebrew guide as it is kept: every line ended by CR LF, the last
    // one too, whichever language the dialog shows.
    QString InstructionText;

private:
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace vorlo
