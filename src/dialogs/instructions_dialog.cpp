// SPDX-License-Identifier: GPL-3.0-or-later
#include "instructions_dialog.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>

#include "dialog_controls.h"
#include "dialog_units.h"

namespace vorlo {

InstructionsDialog::InstructionsDialog(QWidget* parent) : QDialog(parent) {
    for (const QString& line : InstructionLines()) {
        InstructionText += line + QStringLiteral("\r\n");
    }

    setWindowTitle(tr("Instruction for vorlo"));
    UseFixedDialogFrame(this);
    setModal(true);
    const DialogUnits units(font());
    setFixedSize(units.ToPixelsX(kWidthUnits), units.ToPixelsY(kHeightUnits));

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    SetControlId(ok, kOkId);
    units.Place(ok, 215, 7, 50, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Each line stays one line: longer ones run past the edge rather than
    // wrap, and there are no scroll bars.
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("instructions"));
    SetControlId(text_, kTextId);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setLayoutDirection(Qt::RightToLeft);
    QTextOption option = text_->document()->defaultTextOption();
    option.setAlignment(Qt::AlignRight);
    option.setTextDirection(Qt::RightToLeft);
    text_->document()->setDefaultTextOption(option);
    QString shown = InstructionText;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.chop(1);  // the final line break ends the last line; it adds no line of its own
    text_->setPlainText(shown);
    units.Place(text_, 7, 7, 204, 127);

    ok->setFocus();
}

}  // namespace vorlo
