// SPDX-License-Identifier: GPL-3.0-or-later
#include "instructions_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>

#include "dialog_controls.h"
#include "interface_language.h"

namespace vorlo {

namespace {

// A read-only text box as large as its lines: it has no scroll bars, so
// whatever it did not show could not be reached at all.
class WholeTextEdit : public QPlainTextEdit {
public:
    explicit WholeTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

    QSize sizeHint() const override {
        const QFontMetricsF metrics(document()->defaultFont());
        qreal width = 0;
        int lines = 0;
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            width = std::max(width, metrics.horizontalAdvance(block.text()));
            ++lines;
        }
        // The document's margin on both sides, the frame, and room for the
        // cursor at the end of the longest line.
        const qreal margins = 2 * (document()->documentMargin() + frameWidth());
        return QSize(static_cast<int>(std::ceil(width + margins + metrics.averageCharWidth())),
                     static_cast<int>(std::ceil(lines * metrics.lineSpacing() + margins)) + 1);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

}  // namespace

QStringList InstructionsDialog::ShownLines(bool hebrew) {
    return hebrew ? InstructionLines() : EnglishInstructionLines();
}

InstructionsDialog::InstructionsDialog(QWidget* parent)
    : InstructionsDialog(parent, HebrewInterface()) {}

InstructionsDialog::InstructionsDialog(QWidget* parent, bool hebrew) : QDialog(parent) {
    for (const QString& line : InstructionLines()) {
        InstructionText += line + QStringLiteral("\r\n");
    }

    setWindowTitle(tr("Instruction for vorlo"));
    UseFixedDialogFrame(this);
    setModal(true);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setText(tr("OK"));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    // Each line stays one line; the Hebrew guide right-aligned and read from
    // right to left, the English one from the left.
    text_ = new WholeTextEdit(this);
    text_->setObjectName(QStringLiteral("instructions"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setLayoutDirection(hebrew ? Qt::RightToLeft : Qt::LeftToRight);
    QTextOption option = text_->document()->defaultTextOption();
    option.setAlignment(hebrew ? Qt::AlignRight : Qt::AlignLeft);
    option.setTextDirection(hebrew ? Qt::RightToLeft : Qt::LeftToRight);
    text_->document()->setDefaultTextOption(option);
    text_->setPlainText(ShownLines(hebrew).join(QLatin1Char('\n')));

    // The text box, with the button beside it at the top.
    auto* columns = new QHBoxLayout(this);
    columns->setSizeConstraint(QLayout::SetFixedSize);
    columns->addWidget(text_);
    columns->addWidget(buttons, 0, Qt::AlignTop);

    ok->setFocus();
}

}  // namespace vorlo
