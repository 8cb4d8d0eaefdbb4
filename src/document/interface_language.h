// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The language of the interface: English, or Hebrew laid out right to left.
// The choice is the locale's unless the user picked one in the window (kept
// in the settings store, used from the next start on).

#include <QByteArray>
#include <QString>

#include <functional>

class QCoreApplication;

namespace vorlo {

class SettingsStore;

enum class InterfaceLanguage { System, English, Hebrew };

// The stored name of a choice and back; an unknown or missing name is System.
QString LanguageName(InterfaceLanguage language);
InterfaceLanguage LanguageFromName(const QString& name);

// The user's choice in `settings` (System when none is kept), and its
// replacement (false when the store could not be written).
InterfaceLanguage StoredLanguage(const SettingsStore& settings);
bool StoreLanguage(SettingsStore& settings, InterfaceLanguage language);

// Whether the environment asks for Hebrew messages, read the way gettext
// reads it: the messages locale is the first set of LC_ALL, LC_MESSAGES and
// LANG; under the C or POSIX locale (or none) messages are English whatever
// LANGUAGE says; otherwise the first entry of the LANGUAGE list that names
// Hebrew or English decides, and without one the locale's own name does.
// `variable` returns an environment variable's value (empty when unset).
using EnvironmentReader = std::function<QByteArray(const char* name)>;
bool EnvironmentWantsHebrew(const EnvironmentReader& variable);
bool EnvironmentWantsHebrew();  // the process's environment

// Whether the interface is Hebrew for the given choice.
bool UsesHebrew(InterfaceLanguage chosen, const EnvironmentReader& variable);

// Installs the program's Hebrew translation (built into the program) and
// Qt's own (from Qt's translations folder) into `app`. True when the
// program's translation was installed; a missing Qt translation only leaves
// Qt's standard dialogs in English.
bool InstallHebrewTranslations(QCoreApplication* app);
// Whether the interface is Hebrew in this process: the program's Hebrew
// translation was installed. Texts that exist in either language whole (the
// instructions, the information page) are chosen by it.
bool HebrewInterface();

// The folder of Qt's own translations, where qtbase_he.qm lies.
QString QtTranslationsFolder();

// Menus name the Insert key in full, "Insert" beside "&Add Match" in either
// language, where Qt would abbreviate it. Installed once into the running
// application, after its other translations so that it wins over Qt's own;
// further calls do nothing.
void InstallKeyNames();

}  // namespace vorlo
