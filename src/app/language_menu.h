// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// View > Language: the interface's language from the next start on.

#include <QCoreApplication>

#include "window_prompts.h"

class QMenu;

class LanguageMenu {
    // The texts are the window's: they keep its translations.
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // Adds the menu at the end of `view`, after a separator.
    LanguageMenu(QMenu* view, WindowPrompts& prompts);

    QMenu* Menu() const { return menu_; }

private:
    QMenu* menu_ = nullptr;
    WindowPrompts& prompts_;
};
