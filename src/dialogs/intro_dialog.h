// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The greeting shown at start-up (and from Help, Startup Message), with the
// check box that switches it off for later starts.

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace vorlo {

class SettingsStore;

class IntroDialog : public QDialog {
    Q_OBJECT

public:
    // `settings` holds the choice and must outlive the dialog.
    explicit IntroDialog(SettingsStore& settings, QWidget* parent = nullptr);

    static QString GreetingText();

    // 1 while the box is checked (greet at start-up), 0 otherwise; brought up
    // to date from the box by SaveShowFlag.
    int ShowAtStartup = 1;

    // Stores the check box's state as the start-up choice. A store that
    // cannot be written is passed over in silence.
    void SaveShowFlag();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnOK();

    SettingsStore& settings_;
    QCheckBox* showAtStartup_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace vorlo
