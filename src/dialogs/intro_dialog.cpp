// SPDX-License-Identifier: GPL-3.0-or-later
#include "intro_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "dialog_controls.h"
#include "settings_store.h"
#include "vorlo_version.h"

namespace vorlo {

QString IntroDialog::GreetingText() {
    return tr("Vorlo v%1"
              "  lets you play with matches riddles!\n\n"
              "First, download new riddles from the Internet.\n"
              "Later on you can build your own and mail them\n"
              "to us to be published.\n\n"
              "See detailed instructions in Hebrew at the Help menu.")
        .arg(QStringLiteral(VORLO_VERSION));
}

IntroDialog::IntroDialog(SettingsStore& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    // The box shows the stored choice, so that looking at the greeting again
    // from the Help menu and closing it does not switch it back on. Only the
    // byte 1 means "greet"; no stored choice yet means the greeting is on.
    if (const std::optional<bool> show = settings_.ShowIntroduction()) {
        ShowAtStartup = *show ? 1 : 0;
    }

    setWindowTitle(tr("Introduction"));
    UseFixedDialogFrame(this);
    setModal(true);

    auto* greeting = StaticText(GreetingText(), this);
    greeting->setObjectName(QStringLiteral("greeting"));

    showAtStartup_ = new QCheckBox(tr("Show this message at startup"), this);
    showAtStartup_->setObjectName(QStringLiteral("showAtStartup"));
    showAtStartup_->setChecked(ShowAtStartup != 0);

    auto* buttons = new QDialogButtonBox(this);
    close_ = buttons->addButton(tr("&Close"), QDialogButtonBox::AcceptRole);
    close_->setObjectName(QStringLiteral("close"));
    // Enter goes through keyPressEvent, which presses the focused button.
    close_->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &IntroDialog::OnOK);

    // The greeting above; the check box and, at the far side, Close below.
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(showAtStartup_, 0, Qt::AlignBottom);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* rows = new QVBoxLayout(this);
    rows->setSizeConstraint(QLayout::SetFixedSize);
    rows->addWidget(greeting);
    rows->addSpacing(fontMetrics().height());
    rows->addLayout(bottom);

    // The first control that takes the focus.
    showAtStartup_->setFocus();
}

void IntroDialog::SaveShowFlag() {
    ShowAtStartup = showAtStartup_->isChecked() ? 1 : 0;
    settings_.SetShowIntroduction(ShowAtStartup != 0);
}

void IntroDialog::OnOK() {
    SaveShowFlag();
    accept();
}

void IntroDialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                // Enter presses the focused button, and Close from anywhere else.
                if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                    button->click();
                } else {
                    close_->click();
                }
                return;
            case Qt::Key_Escape:
                // Escape leaves the stored choice as it was.
                reject();
                return;
            default:
                break;
        }
    }
    QDialog::keyPressEvent(event);
}

void IntroDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The check box holds the focus from the start, and the user should see
    // that Space toggles it: draw focus marks as after a Tab, until a click.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void IntroDialog::closeEvent(QCloseEvent* event) {
    // The title bar's close box (and Alt+F4) keeps the choice, like Close.
    if (isVisible()) {
        SaveShowFlag();
    }
    QDialog::closeEvent(event);
}

}  // namespace vorlo
