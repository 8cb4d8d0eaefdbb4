// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small helpers shared by the dialogs.

#include <QDialog>
#include <QLabel>
#include <QString>

namespace vorlo {

// A dialog of one size, that of its contents: a title bar with its menu and
// close box, no minimise or maximise button, and a frame that does not
// resize.
inline void UseFixedDialogFrame(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
}

// A static text, shown as it stands: plain, in the lines it was written in,
// starting at the reading direction's side.
inline QLabel* StaticText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    return label;
}

}  // namespace vorlo
