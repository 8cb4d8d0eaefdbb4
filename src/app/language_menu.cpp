// SPDX-License-Identifier: GPL-3.0-or-later
#include "language_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QMenu>

#include "interface_language.h"
#include "sentence_path.h"
#include "settings_store.h"
#include "shown_name.h"

using namespace vorlo;

LanguageMenu::LanguageMenu(QMenu* view, WindowPrompts& prompts) : prompts_(prompts) {
    view->addSeparator();
    menu_ = view->addMenu(tr("&Language"));
    menu_->setObjectName(QStringLiteral("LanguageMenu"));
    auto* group = new QActionGroup(menu_);
    const vorlo::InterfaceLanguage stored = vorlo::StoredLanguage(vorlo::SettingsStore());
    // Each language is named in its own language, so that someone who
    // cannot read the current one still finds theirs.
    const struct {
        vorlo::InterfaceLanguage language;
        QString text;
    } choices[] = {
        {vorlo::InterfaceLanguage::System, tr("&System")},
        {vorlo::InterfaceLanguage::English, QStringLiteral("&English")},
        {vorlo::InterfaceLanguage::Hebrew, QStringLiteral("&\u05E2\u05D1\u05E8\u05D9\u05EA")},
    };
    for (const auto& choice : choices) {
        QAction* action = menu_->addAction(choice.text);
        action->setObjectName(QStringLiteral("Language_") + vorlo::LanguageName(choice.language));
        action->setCheckable(true);
        action->setChecked(choice.language == stored);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, menu_, [this, language = choice.language] {
            vorlo::SettingsStore settings;
            if (!vorlo::StoreLanguage(settings, language)) {
                prompts_.ShowError(tr("The choice of language could not be saved in %1.")
                                       .arg(SentencePath(settings.FileName())));
                return;
            }
            prompts_.ShowNotice(tr("The language changes when vorlo is started again."));
        });
    }
}
