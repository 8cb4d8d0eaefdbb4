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
    explicit InstructionsDialog(QWidget* parent = nullptr);

    // The guide, one entry per line (the twelfth is empty).
    static QStringList InstructionLines();

    // The guide as it is kept: every line ended by CR LF, the last one too.
    QString InstructionText;

private:
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace vorlo
