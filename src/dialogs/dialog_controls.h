// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small helpers shared by the dialogs: each control carries the identifier it
// answers to, and static texts are shown as they stand.

#include <QDialog>
#include <QLabel>
#include <QString>

namespace vorlo {

// The identifier of a control; static texts and pictures have none.
inline constexpr int kStaticId = -1;
inline constexpr int kOkId = 1;
inline constexpr char kControlIdProperty[] = "controlId";

inline void SetControlId(QWidget* control, int id) {
    control->setProperty(kControlIdProperty, id);
}

// A dialog of one fixed size: a title bar with its menu and close box, no
// minimise or maximise button, and a frame that does not resize.
inline void UseFixedDialogFrame(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
}

// A static text: plain, left-aligned, wrapping at word boundaries like a
// static control of the given rectangle.
inline QLabel* StaticText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    SetControlId(label, kStaticId);
    return label;
}

}  // namespace vorlo
