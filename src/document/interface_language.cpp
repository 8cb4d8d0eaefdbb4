// SPDX-License-Identifier: GPL-3.0-or-later
#include "interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "settings_store.h"

namespace vorlo {

namespace {

// Qt lays the widgets out from right to left when the loaded translation
// says so; the program's own translation says it too, so the layout does not
// depend on Qt's translations being installed.
[[maybe_unused]] const char* const kLayoutDirection =
    QT_TRANSLATE_NOOP("QGuiApplication", "QT_LAYOUT_DIRECTION");

bool NamesHebrew(const QByteArray& name) {
    // "iw" is the language's older code, still met in some systems.
    return name.startsWith("he") || name.startsWith("iw");
}

bool IsPlainCLocale(const QByteArray& name) {
    return name.isEmpty() || name == "C" || name == "POSIX" || name.startsWith("C.");
}

}  // namespace

QString LanguageName(InterfaceLanguage language) {
    switch (language) {
        case InterfaceLanguage::English:
            return QStringLiteral("en");
        case InterfaceLanguage::Hebrew:
            return QStringLiteral("he");
        case InterfaceLanguage::System:
            break;
    }
    return QStringLiteral("system");
}

InterfaceLanguage LanguageFromName(const QString& name) {
    if (name == u"en") {
        return InterfaceLanguage::English;
    }
    if (name == u"he") {
        return InterfaceLanguage::Hebrew;
    }
    return InterfaceLanguage::System;
}

InterfaceLanguage StoredLanguage(const SettingsStore& settings) {
    return LanguageFromName(settings.LanguageName());
}

bool StoreLanguage(SettingsStore& settings, InterfaceLanguage language) {
    return settings.SetLanguageName(LanguageName(language));
}

bool EnvironmentWantsHebrew(const EnvironmentReader& variable) {
    QByteArray locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = variable(name);
        if (!locale.isEmpty()) {
            break;
        }
    }
    if (IsPlainCLocale(locale)) {
        return false;
    }
    for (const QByteArray& entry : variable("LANGUAGE").split(':')) {
        if (NamesHebrew(entry)) {
            return true;
        }
        if (entry.startsWith("en")) {
            return false;
        }
    }
    return NamesHebrew(locale);
}

bool EnvironmentWantsHebrew() {
    return EnvironmentWantsHebrew([](const char* name) { return qgetenv(name); });
}

bool UsesHebrew(InterfaceLanguage chosen, const EnvironmentReader& variable) {
    switch (chosen) {
        case InterfaceLanguage::English:
            return false;
        case InterfaceLanguage::Hebrew:
            return true;
        case InterfaceLanguage::System:
            break;
    }
    return EnvironmentWantsHebrew(variable);
}

namespace {

// Without Q_OBJECT of its own, so it is found by its object name: a
// findChild on the class would take any QTranslator for it.
constexpr char kKeyNamesObject[] = "vorlo-key-names";

class KeyNameTranslator : public QTranslator {
public:
    explicit KeyNameTranslator(QObject* parent) : QTranslator(parent) {
        setObjectName(QLatin1String(kKeyNamesObject));
    }
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QShortcut") == 0 && qstrcmp(sourceText, "Ins") == 0) {
            return QStringLiteral("Insert");
        }
        return QString();
    }
};

}  // namespace

void InstallKeyNames() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app ||
        app->findChild<QTranslator*>(QLatin1String(kKeyNamesObject), Qt::FindDirectChildrenOnly)) {
        return;
    }
    QCoreApplication::installTranslator(new KeyNameTranslator(app));
}

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

namespace {
bool hebrewInstalled = false;
}  // namespace

bool InstallHebrewTranslations(QCoreApplication* app) {
    auto* qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_he"), QtTranslationsFolder())) {
        QCoreApplication::installTranslator(qt);
    } else {
        delete qt;
    }
    auto* own = new QTranslator(app);
    if (!own->load(QStringLiteral(":/vorlo/translations/vorlo_he.qm"))) {
        delete own;
        return false;
    }
    // Installed last, so that its texts win over Qt's where both have one.
    QCoreApplication::installTranslator(own);
    hebrewInstalled = true;
    return true;
}

bool HebrewInterface() {
    return hebrewInstalled;
}

}  // namespace vorlo
