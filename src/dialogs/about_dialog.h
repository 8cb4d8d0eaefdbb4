// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Help, About: the program's name, version, ownership and terms of use.

#include <QDialog>

namespace vorlo {

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace vorlo
