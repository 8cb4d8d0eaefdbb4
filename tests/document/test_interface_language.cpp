// SPDX-License-Identifier: GPL-3.0-or-later
// The interface's language: what the environment asks for, the stored
// choice, and read errors worded in the interface's language.

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <map>
#include <string>

#include "interface_language.h"
#include "riddle_file.h"
#include "riddle_io.h"
#include "settings_store.h"

using vorlo::InterfaceLanguage;

namespace {

vorlo::EnvironmentReader Environment(std::map<std::string, QByteArray> values) {
    return [values = std::move(values)](const char* name) {
        const auto it = values.find(name);
        return it == values.end() ? QByteArray() : it->second;
    };
}

// Files that each reader refusal comes from.
std::string Le32(int32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    }
    return bytes;
}

}  // namespace

class TestInterfaceLanguage : public QObject {
    Q_OBJECT

private slots:
    void environment_data() {
        QTest::addColumn<QByteArray>("lcAll");
        QTest::addColumn<QByteArray>("lcMessages");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<bool>("hebrew");
        QTest::newRow("nothing set")
            << QByteArray() << QByteArray() << QByteArray() << QByteArray() << false;
        QTest::newRow("C.UTF-8") << QByteArray() << QByteArray() << QByteArray("C.UTF-8")
                                 << QByteArray() << false;
        QTest::newRow("LANG he_IL.UTF-8")
            << QByteArray() << QByteArray() << QByteArray("he_IL.UTF-8") << QByteArray() << true;
        QTest::newRow("LANG he") << QByteArray() << QByteArray() << QByteArray("he") << QByteArray()
                                 << true;
        QTest::newRow("old code iw_IL")
            << QByteArray() << QByteArray() << QByteArray("iw_IL") << QByteArray() << true;
        QTest::newRow("LANG en_US")
            << QByteArray() << QByteArray() << QByteArray("en_US.UTF-8") << QByteArray() << false;
        QTest::newRow("LANGUAGE he over en_US")
            << QByteArray() << QByteArray() << QByteArray("en_US.UTF-8") << QByteArray("he")
            << true;
        QTest::newRow("LANGUAGE en over he_IL")
            << QByteArray() << QByteArray() << QByteArray("he_IL.UTF-8") << QByteArray("en")
            << false;
        QTest::newRow("LANGUAGE skips what it lacks")
            << QByteArray() << QByteArray() << QByteArray("de_DE.UTF-8")
            << QByteArray("fr:de:he:en") << true;
        QTest::newRow("LANGUAGE without he or en: the locale")
            << QByteArray() << QByteArray() << QByteArray("he_IL.UTF-8") << QByteArray("fr:de")
            << true;
        QTest::newRow("C locale ignores LANGUAGE")
            << QByteArray() << QByteArray() << QByteArray("C.UTF-8") << QByteArray("he") << false;
        QTest::newRow("LC_ALL wins over LANG")
            << QByteArray("en_US.UTF-8") << QByteArray() << QByteArray("he_IL.UTF-8")
            << QByteArray() << false;
        QTest::newRow("LC_MESSAGES wins over LANG")
            << QByteArray() << QByteArray("he_IL.UTF-8") << QByteArray("C.UTF-8") << QByteArray()
            << true;
        QTest::newRow("LC_ALL C over LC_MESSAGES he")
            << QByteArray("C") << QByteArray("he_IL.UTF-8") << QByteArray() << QByteArray()
            << false;
    }

    void environment() {
        QFETCH(QByteArray, lcAll);
        QFETCH(QByteArray, lcMessages);
        QFETCH(QByteArray, lang);
        QFETCH(QByteArray, language);
        QFETCH(bool, hebrew);
        const auto env = Environment({{"LC_ALL", lcAll},
                                      {"LC_MESSAGES", lcMessages},
                                      {"LANG", lang},
                                      {"LANGUAGE", language}});
        QCOMPARE(vorlo::EnvironmentWantsHebrew(env), hebrew);
        QCOMPARE(vorlo::UsesHebrew(InterfaceLanguage::System, env), hebrew);
        // A choice made in the window wins over the environment.
        QVERIFY(vorlo::UsesHebrew(InterfaceLanguage::Hebrew, env));
        QVERIFY(!vorlo::UsesHebrew(InterfaceLanguage::English, env));
    }

    void choiceIsStored() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString ini = dir.filePath(QStringLiteral("vorlo.conf"));
        {
            vorlo::SettingsStore store(ini);
            QCOMPARE(vorlo::StoredLanguage(store), InterfaceLanguage::System);
        }
        for (const InterfaceLanguage language :
             {InterfaceLanguage::Hebrew, InterfaceLanguage::English, InterfaceLanguage::System}) {
            vorlo::SettingsStore writer(ini);
            QVERIFY(vorlo::StoreLanguage(writer, language));
            const vorlo::SettingsStore reader(ini);
            QCOMPARE(vorlo::StoredLanguage(reader), language);
        }
        // A value some other version wrote, or a hand edit, is no choice.
        QCOMPARE(vorlo::LanguageFromName(QStringLiteral("klingon")), InterfaceLanguage::System);
        // A store that cannot be written keeps nothing and says so.
        vorlo::SettingsStore nowhere(dir.filePath(QStringLiteral("missing/folder/vorlo.conf")));
        if (nowhere.IsWritable()) {
            QSKIP("the missing folder is writable here");
        }
        QVERIFY(!vorlo::StoreLanguage(nowhere, InterfaceLanguage::Hebrew));
    }

    // Every refusal of the reader reads in English exactly as the reader
    // words it, and in Hebrew as the translation does, numbers kept.
    void readErrors() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string missing = dir.filePath(QStringLiteral("absent.vrl")).toStdString();
        const struct {
            const char* name;
            vorlo::RiddleReadResult result;
            vorlo::RiddleReadProblem problem;
            QStringList hebrewHas;
        } cases[] = {
            {"short count",
             vorlo::ParseRiddle(std::string("\x01\x00", 2)),
             vorlo::RiddleReadProblem::EndsInCount,
             {}},
            {"count mismatch",
             vorlo::ParseRiddle(Le32(5) + std::string(24, '\0')),
             vorlo::RiddleReadProblem::CountMismatch,
             {QStringLiteral("5"), QStringLiteral("2")}},
            {"missing file", vorlo::ReadRiddleFile(missing), vorlo::RiddleReadProblem::System, {}},
            {"folder",
             vorlo::ReadRiddleFile(dir.path().toStdString()),
             vorlo::RiddleReadProblem::Folder,
             {}},
            {"nul in name",
             vorlo::LoadRiddleFile(QStringLiteral("a") + QChar(u'\0')),
             vorlo::RiddleReadProblem::NulInName,
             {}},
        };
        for (const auto& c : cases) {
            QVERIFY2(!c.result.ok, c.name);
            QCOMPARE(c.result.problem, c.problem);
            QCOMPARE(vorlo::RiddleReadErrorText(c.result), QString::fromStdString(c.result.error));
        }

        QTranslator hebrew;
        if (!hebrew.load(QStringLiteral(":/vorlo/translations/vorlo_he.qm"))) {
            QFAIL("the Hebrew translation is not built into the program");
        }
        QCoreApplication::installTranslator(&hebrew);
        for (const auto& c : cases) {
            const QString text = vorlo::RiddleReadErrorText(c.result);
            QVERIFY2(text != QString::fromStdString(c.result.error), c.name);
            QVERIFY2(text.contains(QChar(0x05D0)) || text.contains(QChar(0x05D9)), c.name);
            for (const QString& part : c.hebrewHas) {
                QVERIFY2(text.contains(part), c.name);
            }
        }
        QCoreApplication::removeTranslator(&hebrew);
    }

    void qtHasItsHebrewTranslation() {
        const QString file = vorlo::QtTranslationsFolder() + QStringLiteral("/qtbase_he.qm");
        if (!QFileInfo::exists(file)) {
            QSKIP("Qt's Hebrew translation is not installed (Debian: qt6-translations-l10n)");
        }
        QTranslator qt;
        QVERIFY(qt.load(file));
        QCOMPARE(qt.translate("QGuiApplication", "QT_LAYOUT_DIRECTION"), QStringLiteral("RTL"));
    }

    // The interface's own translator is a child of the application too; the
    // key names must still go in beside it, and only once.
    void keyNamesBesideAnotherTranslator() {
        auto* other = new QTranslator(QCoreApplication::instance());
        QCoreApplication::installTranslator(other);
        vorlo::InstallKeyNames();
        vorlo::InstallKeyNames();
        QCOMPARE(QCoreApplication::translate("QShortcut", "Ins"), QStringLiteral("Insert"));
        const auto translators = QCoreApplication::instance()->findChildren<QTranslator*>(
            QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(translators.size(), 2);
        delete other;
    }
};

QTEST_GUILESS_MAIN(TestInterfaceLanguage)
#include "test_interface_language.moc"
