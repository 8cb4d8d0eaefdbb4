// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up decisions against temporary configuration folders: whether the
// introduction greets the user, and the recorded installation folder.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "file_commands.h"
#include "main_window.h"
#include "riddle_io.h"
#include "settings_store.h"
#include "vorlo_application.h"

using namespace vorlo;

class TestStartup : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int n_ = 0;
    int copies_ = 0;

    // QSettings reads the configuration folder once per process; a new
    // start is a new folder.
    static void UseConfigHome(const QString& home) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home);
    }

    // A fresh, empty configuration folder for this start.
    QString FreshConfigHome() {
        const QString home = dir_.filePath(QStringLiteral("config%1").arg(++n_));
        QDir().mkpath(home);
        UseConfigHome(home);
        return home;
    }

    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("absent");
    }

    // The stored byte, read as earlier versions read it, from a copy of the
    // file under a new name (QSettings keeps what it read per name).
    std::optional<uint8_t> StoredShow() {
        const QString copy = dir_.filePath(QStringLiteral("copy-%1.ini").arg(++copies_));
        if (!QFile::copy(SettingsStore().FileName(), copy)) {
            return std::nullopt;
        }
        const QVariant show =
            QSettings(copy, QSettings::IniFormat).value("Vorlo.Introduction/show");
        if (show.typeId() != QMetaType::QByteArray || show.toByteArray().size() != 1) {
            return std::nullopt;
        }
        return static_cast<uint8_t>(show.toByteArray()[0]);
    }

private slots:
    void firstStartCreatesTheChoiceAndGreets() {
        FreshConfigHome();
        QVERIFY(!StoredShow().has_value());
        QVERIFY(VorloApplication::ShouldGreet());
        QCOMPARE(StoredShow(), std::optional<uint8_t>(1));
        // The second start reads what the first wrote.
        QVERIFY(VorloApplication::ShouldGreet());
    }

    void storedChoice_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("greets");
        QTest::newRow("0: switched off") << 0 << false;
        QTest::newRow("1: greet") << 1 << true;
        QTest::newRow("2: anything but 1 is off") << 2 << false;
    }
    void storedChoice() {
        QFETCH(int, stored);
        QFETCH(bool, greets);
        FreshConfigHome();
        {
            QSettings raw(SettingsStore().FileName(), QSettings::IniFormat);
            raw.setValue("Vorlo.Introduction/show", QByteArray(1, static_cast<char>(stored)));
        }
        QCOMPARE(VorloApplication::ShouldGreet(), greets);
        QCOMPARE(StoredShow(), std::optional<uint8_t>(static_cast<uint8_t>(stored)));
    }

    void aKeyWithoutTheValueGreetsAndWritesNothing() {
        FreshConfigHome();
        {
            // The group with only the marker earlier versions put in a new key.
            QSettings raw(SettingsStore().FileName(), QSettings::IniFormat);
            raw.setValue("Vorlo.Introduction/%key", true);
        }
        const QByteArray before = ReadAll(SettingsStore().FileName());
        QVERIFY(VorloApplication::ShouldGreet());
        QVERIFY(!StoredShow().has_value());
        QCOMPARE(ReadAll(SettingsStore().FileName()), before);
    }

    void anUnwritableStoreGreetsNoOne() {
        // A regular file where the configuration folder should be.
        const QString blocker = dir_.filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        UseConfigHome(blocker + QStringLiteral("/config"));
        QVERIFY(!VorloApplication::ShouldGreet());
    }

    void theInstallationFolderIsRecordedWithItsSeparator() {
        FreshConfigHome();
        VorloApplication::RecordInstallationFolder();
        const QString folder = SettingsStore().InstallationFolder();
        QVERIFY2(folder.endsWith(u'/'), qPrintable(folder));
        QVERIFY(QFile::exists(folder + QStringLiteral("riddle1.vrl")));
        QVERIFY(QFile::exists(folder + QStringLiteral("vorlo_heb.html")));
    }

    void theOpenDialogStartsAmongTheSamplesUntilARiddleIsOpenedElsewhere() {
        FreshConfigHome();
        VorloApplication::RecordInstallationFolder();
        const QString samples = FileCommands::SamplesFolder();
        QVERIFY(!samples.isEmpty());
        QCOMPARE(FileCommands::OpenDialogFolder(), samples);

        MainWindow frame;
        frame.ShowError = [](const QString& message) { QFAIL(qPrintable(message)); };
        // A sample keeps the dialog among the samples.
        QVERIFY(frame.Files().OpenDocumentFile(samples + QStringLiteral("riddle2.vrl")));
        QCOMPARE(FileCommands::OpenDialogFolder(), samples);
        // A riddle elsewhere moves it there, for good.
        const QString elsewhere = dir_.filePath(QStringLiteral("mine"));
        QVERIFY(QDir().mkpath(elsewhere));
        QString error;
        QVERIFY(vorlo::SaveRiddleFile(elsewhere + QStringLiteral("/a.vrl"), vorlo::MatchList(),
                                      QString(), &error));
        QVERIFY(frame.Files().OpenDocumentFile(elsewhere + QStringLiteral("/a.vrl")));
        QCOMPARE(FileCommands::OpenDialogFolder(), elsewhere);
        QVERIFY(frame.Files().OpenDocumentFile(samples + QStringLiteral("riddle3.vrl")));
        QCOMPARE(FileCommands::OpenDialogFolder(), elsewhere);
    }

    // Everything the program keeps between runs goes into one file.
    void oneSettingsFileIsWritten() {
        const QString home = FreshConfigHome();
        QVERIFY(VorloApplication::ShouldGreet());
        VorloApplication::RecordInstallationFolder();
        {
            MainWindow frame;
            frame.ShowError = [](const QString& message) { QFAIL(qPrintable(message)); };
            const QString samples = FileCommands::SamplesFolder();
            QVERIFY(!samples.isEmpty());
            const QString elsewhere = dir_.filePath(QStringLiteral("one-file"));
            QVERIFY(QDir().mkpath(elsewhere));
            QString error;
            QVERIFY(vorlo::SaveRiddleFile(elsewhere + QStringLiteral("/b.vrl"), vorlo::MatchList(),
                                          QString(), &error));
            QVERIFY(frame.Files().OpenDocumentFile(samples + QStringLiteral("riddle1.vrl")));
            QVERIFY(frame.Files().OpenDocumentFile(elsewhere + QStringLiteral("/b.vrl")));
            QVERIFY(frame.close());  // keeps the recent files
        }
        QStringList written;
        QDirIterator files(home, QDir::Files | QDir::Hidden | QDir::System,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            written << QDir(home).relativeFilePath(files.next());
        }
        QCOMPARE(written, QStringList{QStringLiteral("vorlo/vorlo.conf")});
        SettingsStore settings;
        QCOMPARE(settings.RecentFiles(4).size(), 2);
        QCOMPARE(settings.OpenFolder(), dir_.filePath(QStringLiteral("one-file")));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
