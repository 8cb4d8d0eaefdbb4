// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "settings_store.h"
#include "unprivileged_case.h"

using vorlo::SettingsStore;

class TestSettingsStore : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString IniPath(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // Before any QSettings looks up the user's configuration folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("xdg")));
    }

    // A file as earlier versions wrote it, with the markers they left in
    // groups that had no value yet ("%key", escaped "%25key").
    void earlierFileReadsTheSame() {
        const QString path = IniPath("earlier.conf");
        const QByteArray earlier =
            "[Recent%20File%20List]\n%25key=true\nFile1=/a/one.vrl\nFile2=/b/two.vrl\n"
            "File3=/a/one.vrl\n\n"
            "[Settings]\n%25key=true\nLanguage=he\nOpenFolder=/home/me/riddles\n"
            "SnapToMatches=@ByteArray(\\x1)\nZoom=300\n\n"
            "[Vorlo.Introduction]\n%25key=true\nshow=@ByteArray(\\0)\n\n"
            "[Vorlo.Path]\n%25key=true\nfullpath=/opt/vorlo/\n\n"
            "[Vorlo.Other]\n%25key=true\n";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(earlier);
        }
        SettingsStore store(path);
        QCOMPARE(store.RecentFiles(4), QStringList({"/a/one.vrl", "/b/two.vrl"}));
        QCOMPARE(store.LanguageName(), QStringLiteral("he"));
        QCOMPARE(store.OpenFolder(), QStringLiteral("/home/me/riddles"));
        QVERIFY(store.SnapToMatches());
        QCOMPARE(store.Zoom(), 300);
        QCOMPARE(store.ShowIntroduction(), std::optional<bool>(false));
        QCOMPARE(store.InstallationFolder(), QStringLiteral("/opt/vorlo/"));
        QVERIFY(store.HasGroup("Vorlo.Other"));
        QVERIFY(!store.IntroductionDueAtStart());

        // A change keeps everything else as it was, markers included.
        QVERIFY(store.SetZoom(150));
        QSettings raw(path, QSettings::IniFormat);
        QCOMPARE(raw.value("Settings/Zoom").toString(), QStringLiteral("150"));
        QCOMPARE(raw.value("Vorlo.Introduction/show").toByteArray(), QByteArray(1, '\0'));
        QCOMPARE(raw.value("Settings/SnapToMatches").toByteArray(), QByteArray(1, '\1'));
        QVERIFY(raw.contains("Vorlo.Other/%key"));
        QCOMPARE(raw.allKeys().size(), 14);
    }

    // What this version writes, under the names and in the kinds earlier
    // versions read.
    void writtenNamesAndKinds() {
        const QString path = IniPath("written.conf");
        SettingsStore store(path);
        QVERIFY(store.IntroductionDueAtStart());
        QVERIFY(store.SetRecentFiles({"/a/one.vrl"}, 4));
        QVERIFY(store.SetOpenFolder("/b"));
        QVERIFY(store.SetSnapToMatches(true));
        QVERIFY(store.SetZoom(200));
        QVERIFY(store.SetLanguageName("en"));
        QVERIFY(store.RecordInstallationFolder("/usr/share/vorlo/"));
        const QSettings raw(path, QSettings::IniFormat);
        const QList<std::pair<QString, QVariant>> expected = {
            {"Recent File List/File1", QString("/a/one.vrl")},
            {"Settings/Language", QString("en")},
            {"Settings/OpenFolder", QString("/b")},
            {"Settings/SnapToMatches", QByteArray(1, '\1')},
            {"Settings/Zoom", QString("200")},
            {"Vorlo.Introduction/show", QByteArray(1, '\1')},
            {"Vorlo.Path/fullpath", QString("/usr/share/vorlo/")},
        };
        QCOMPARE(raw.allKeys().size(), expected.size());
        for (const auto& [name, value] : expected) {
            QCOMPARE(raw.value(name).typeId(), value.typeId());
            QCOMPARE(raw.value(name), value);
        }
    }

    // One-byte choices as earlier versions stored them, or as typed by hand.
    void oneByteValues_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("show");  // -1: no choice read
        QTest::newRow("byte 1") << QByteArray("@ByteArray(\\x1)") << 1;
        QTest::newRow("byte 0") << QByteArray("@ByteArray(\\0)") << 0;
        QTest::newRow("high bit") << QByteArray("@ByteArray(\\x80)") << 0;
        QTest::newRow("typed 0") << QByteArray("0") << 0;
        QTest::newRow("typed 1") << QByteArray(" 1") << 1;
        QTest::newRow("typed 7") << QByteArray("7") << 0;
        QTest::newRow("too large") << QByteArray("256") << -1;
        QTest::newRow("text") << QByteArray("folder") << -1;
        QTest::newRow("two bytes") << QByteArray("@ByteArray(\\x1\\x1)") << -1;
        QTest::newRow("no bytes") << QByteArray("@ByteArray()") << -1;
        QTest::newRow("empty") << QByteArray("") << -1;
    }
    void oneByteValues() {
        QFETCH(QByteArray, stored);
        QFETCH(int, show);
        const QString path = IniPath(QStringLiteral("byte-%1.ini").arg(QTest::currentDataTag()));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Vorlo.Introduction]\nshow=" + stored +
                       "\n[Settings]\nSnapToMatches=" + stored + "\n");
        }
        SettingsStore store(path);
        QCOMPARE(store.ShowIntroduction(),
                 show < 0 ? std::optional<bool>() : std::optional<bool>(show == 1));
        QCOMPARE(store.SnapToMatches(), show == 1);
        // The start-up greets unless a choice other than 1 is read.
        QCOMPARE(store.IntroductionDueAtStart(), show != 0);
    }

    void stringRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("folder") << QStringLiteral("/usr/share/vorlo/");
        QTest::newRow("empty") << QString("");
        QTest::newRow("comma") << QStringLiteral("a, b, c");
        QTest::newRow("at sign") << QStringLiteral("@ByteArray(x)");
        QTest::newRow("hebrew") << QStringLiteral("בהצלחה");
        QTest::newRow("spaces") << QStringLiteral("  two blanks  ");
        QTest::newRow("quotes") << QStringLiteral("say \"hi\"; ok=1 [x]");
        QTest::newRow("number") << QStringLiteral("1");
    }
    void stringRoundTrip() {
        QFETCH(QString, text);
        const QString path = IniPath(QStringLiteral("string-%1.ini").arg(QTest::currentDataTag()));
        {
            SettingsStore store(path);
            QVERIFY(store.RecordInstallationFolder(text));
            QVERIFY(store.SetOpenFolder(text));
        }
        SettingsStore store(path);
        QCOMPARE(store.InstallationFolder(), text);
        QCOMPARE(store.OpenFolder(), text);
    }

    void readOnlyFileCanStillBeRead() {
        // A store file without write permission can be read, but nothing is
        // written. Root ignores the permission: there nobody runs it.
        VORLO_RUN_AS_NOBODY_WHEN_ROOT();
        const QString path = IniPath("readonly.ini");
        QVERIFY(SettingsStore(path).SetShowIntroduction(false));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        if (QFileInfo(path).isWritable()) {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QSKIP("the file's mode does not stop this user");
        }
        SettingsStore store(path);
        QVERIFY(!store.IsWritable());
        QCOMPARE(store.ShowIntroduction(), std::optional<bool>(false));
        QVERIFY(!store.SetShowIntroduction(true));
        QVERIFY(!store.IntroductionDueAtStart());
        QCOMPARE(store.ShowIntroduction(), std::optional<bool>(false));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void unwritableStore() {
        // The parent of the file is a regular file, so nothing can be created
        // there, even by root.
        const QString blocker = IniPath("not-a-folder");
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        SettingsStore store(blocker + "/vorlo.ini");
        QVERIFY(!store.IsWritable());
        QVERIFY(!store.IntroductionDueAtStart());
        QVERIFY(!store.SetShowIntroduction(true));
        QVERIFY(!store.RecordInstallationFolder("/x/"));
        QVERIFY(!store.SetLanguageName("he"));
        QVERIFY(!store.HasGroup("Vorlo.Introduction"));
        QVERIFY(!store.HasGroup(""));
        QVERIFY(!store.ShowIntroduction().has_value());
    }

    void writesFailWhenStoreBecomesUnwritable() {
        // A store made while its file was writable reports failed writes
        // once the file can no longer be written.
        const QString folder = IniPath("vanishing");
        QVERIFY(QDir().mkpath(folder));
        SettingsStore store(folder + "/vorlo.ini");
        QVERIFY(store.SetShowIntroduction(true));

        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!store.SetShowIntroduction(false));
        QVERIFY(!store.RecordInstallationFolder("/x/"));
    }

    void userStoreFollowsXdgConfigHome() {
        SettingsStore store;
        QCOMPARE(store.FileName(), dir_.filePath("xdg/vorlo/vorlo.conf"));
        QVERIFY(store.SetShowIntroduction(true));
        QVERIFY(QFile::exists(store.FileName()));
        const SettingsStore::EarlierFiles earlier = SettingsStore::UserEarlierFiles();
        QCOMPARE(earlier.store,
                 dir_.filePath("xdg/Local AppWizard-Generated Applications/vorlo.ini"));
        QCOMPARE(earlier.window,
                 dir_.filePath("xdg/Local AppWizard-Generated Applications/vorlo.conf"));
    }

    // The window's values live in the same file as the keys.
    void windowValuesRoundTrip() {
        const QString path = IniPath("window.conf");
        {
            SettingsStore store(path);
            QVERIFY(store.RecentFiles(4).isEmpty());
            QVERIFY(store.OpenFolder().isEmpty());
            QVERIFY(store.InstallationFolder().isEmpty());
            QVERIFY(!store.HasGroup("Vorlo.Path"));  // reading created nothing
            QVERIFY(store.SetRecentFiles({"/a/one.vrl", "/b/two.vrl", "/c/three.vrl"}, 4));
            QVERIFY(store.SetOpenFolder("/b"));
            QVERIFY(store.RecordInstallationFolder("/usr/share/v/"));
        }
        SettingsStore store(path);
        QCOMPARE(store.RecentFiles(4), QStringList({"/a/one.vrl", "/b/two.vrl", "/c/three.vrl"}));
        QCOMPARE(store.RecentFiles(2), QStringList({"/a/one.vrl", "/b/two.vrl"}));
        QCOMPARE(store.OpenFolder(), QStringLiteral("/b"));
        QCOMPARE(store.InstallationFolder(), QStringLiteral("/usr/share/v/"));
        // A shorter list removes the entries beyond it.
        QVERIFY(store.SetRecentFiles({"/b/two.vrl"}, 4));
        QCOMPARE(store.RecentFiles(4), QStringList({"/b/two.vrl"}));
        QSettings raw(path, QSettings::IniFormat);
        QCOMPARE(raw.value("Recent File List/File1").toString(), QStringLiteral("/b/two.vrl"));
        QVERIFY(!raw.contains("Recent File List/File2"));
        QVERIFY(!raw.contains("Recent File List/File3"));
    }

    // Values that earlier builds wrote into their two files are read once,
    // while the new file does not exist.
    void earlierSettingsMigrate_data() {
        QTest::addColumn<bool>("withStore");
        QTest::addColumn<bool>("withWindow");
        QTest::newRow("both files") << true << true;
        QTest::newRow("only the store") << true << false;
        QTest::newRow("only the window's file") << false << true;
    }
    void earlierSettingsMigrate() {
        QFETCH(bool, withStore);
        QFETCH(bool, withWindow);
        QTemporaryDir home;
        QVERIFY(home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        const auto restore = qScopeGuard(
            [this] { qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("xdg"))); });
        const SettingsStore::EarlierFiles earlier = SettingsStore::UserEarlierFiles();
        if (withStore) {
            // Written the way the earlier store wrote its keys.
            QVERIFY(QDir().mkpath(QFileInfo(earlier.store).absolutePath()));
            QFile old(earlier.store);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(
                "[Vorlo.Empty]\n%25key=true\n\n[Vorlo.Introduction]\n%25key=true\n"
                "show=@ByteArray(\\0)\n\n[Vorlo.Path]\n%25key=true\nfullpath=/opt/vorlo/\n");
        }
        if (withWindow) {
            // Written the way the earlier window wrote its values.
            QSettings old(earlier.window, QSettings::NativeFormat);
            old.setValue("OpenFolder", "/home/me/riddles");
            old.beginGroup("Recent File List");
            old.setValue("File1", "/home/me/riddles/new.vrl");
            old.setValue("File2", "/home/me/old.vrl");
            old.endGroup();
            old.sync();
            QCOMPARE(old.status(), QSettings::NoError);
        }
        const QString target = SettingsStore::UserSettingsFile();
        QVERIFY(!QFile::exists(target));

        {
            SettingsStore store;
            QVERIFY(QFile::exists(target));
            QCOMPARE(store.HasGroup("Vorlo.Introduction"), withStore);
            QCOMPARE(store.HasGroup("Vorlo.Empty"), withStore);
            QCOMPARE(store.InstallationFolder(), withStore ? "/opt/vorlo/" : QString());
            if (withStore) {
                QCOMPARE(store.ShowIntroduction(), std::optional<bool>(false));
            }
            QCOMPARE(store.OpenFolder(), withWindow ? "/home/me/riddles" : QString());
            QCOMPARE(store.RecentFiles(4),
                     withWindow ? QStringList({"/home/me/riddles/new.vrl", "/home/me/old.vrl"})
                                : QStringList());
        }
        // Once only: later changes to the earlier files are not read again,
        // and the earlier files themselves are kept.
        const QString changed = withStore ? earlier.store : earlier.window;
        {
            QSettings old(changed, QSettings::IniFormat);
            old.setValue("OpenFolder", "/elsewhere");
            old.setValue("Vorlo.Path/fullpath", "/elsewhere/");
        }
        SettingsStore later;
        QCOMPARE(later.OpenFolder(), withWindow ? "/home/me/riddles" : QString());
        QCOMPARE(later.InstallationFolder(), withStore ? "/opt/vorlo/" : QString());
        QVERIFY(QFile::exists(earlier.store) == withStore);
        QVERIFY(QFile::exists(earlier.window) == withWindow);
    }

    // A symbolic link at the settings file is neither read nor written
    // through: the store starts empty, keeps nothing, and the link and what it
    // points at stay as they were.
    void linkedFileIsPassedOver_data() {
        QTest::addColumn<QString>("pointsAt");  // relative to the store's folder
        QTest::newRow("a file of the user's") << "victim.txt";
        QTest::newRow("nothing") << "absent.txt";
        QTest::newRow("itself") << "linked.conf";
    }
    void linkedFileIsPassedOver() {
        QFETCH(QString, pointsAt);
        QTemporaryDir home;
        const QString path = home.filePath("linked.conf");
        const QString victim = home.filePath("victim.txt");
        const QByteArray victimBytes = "[Vorlo.Path]\nfullpath=/from/the/victim/\n";
        {
            QFile file(victim);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(victimBytes);
        }
        QVERIFY(QFile::setPermissions(victim, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QFile::link(pointsAt, path));

        SettingsStore store(path);
        QCOMPARE(store.InstallationFolder(), QString());
        QVERIFY(!store.HasGroup("Vorlo.Path"));
        QVERIFY(!store.IsWritable());
        QVERIFY(!store.IntroductionDueAtStart());
        QVERIFY(!store.SetShowIntroduction(true));
        QVERIFY(!store.SetRecentFiles({"/a.vrl"}, 4));
        QVERIFY(!store.SetZoom(200));

        QCOMPARE(QFileInfo(path).symLinkTarget(), home.filePath(pointsAt));
        QFile file(victim);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), victimBytes);
        QCOMPARE(QFileInfo(victim).permissions() & 0x7077,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(!QFileInfo::exists(home.filePath("absent.txt")));

        // An earlier build's file that is a link is not copied in either.
        QVERIFY(
            !SettingsStore::MigrateEarlierSettings(home.filePath("new.conf"), {path, QString()}));
        QVERIFY(!QFileInfo::exists(home.filePath("new.conf")));
    }

    // A settings file beyond SettingsStore::kMaxFileBytes is not read and not
    // replaced; one at the limit is a settings file like any other.
    void sizeLimit_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("used");
        QTest::newRow("a real one") << qint64(100) << true;
        QTest::newRow("at the limit") << SettingsStore::kMaxFileBytes << true;
        QTest::newRow("one byte more") << SettingsStore::kMaxFileBytes + 1 << false;
        QTest::newRow("43 MB") << qint64(43) * 1024 * 1024 << false;
    }
    void sizeLimit() {
        QFETCH(qint64, size);
        QFETCH(bool, used);
        QTemporaryDir home;
        const QString path = home.filePath("vorlo.conf");
        QByteArray bytes = "[Vorlo.Path]\nfullpath=/opt/v/\n;";
        bytes += QByteArray(size - bytes.size() - 1, 'x') + '\n';
        QCOMPARE(bytes.size(), size);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), size);
        }
        SettingsStore store(path);
        QCOMPARE(store.InstallationFolder(), used ? QStringLiteral("/opt/v/") : QString());
        QCOMPARE(store.IsWritable(), used);
        QCOMPARE(store.SetZoom(150), used);
        QCOMPARE(SettingsStore(path).Zoom(), used ? 150 : 100);
        if (!used) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll() == bytes);  // left as it was
        }
    }

    // No earlier files: nothing is created by merely opening the store.
    void nothingToMigrate() {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QCOMPARE(
            SettingsStore::MigrateEarlierSettings(
                home.filePath("new.conf"), {home.filePath("no.ini"), home.filePath("no.conf")}),
            false);
        QVERIFY(!QFile::exists(home.filePath("new.conf")));
        // An existing new file, even an empty one, is never overwritten.
        SettingsStore old(home.filePath("old.ini"));
        QVERIFY(old.RecordInstallationFolder("/x/"));
        QFile empty(home.filePath("new.conf"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QCOMPARE(SettingsStore::MigrateEarlierSettings(home.filePath("new.conf"),
                                                       {home.filePath("old.ini"), QString()}),
                 false);
        QCOMPARE(QFileInfo(home.filePath("new.conf")).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
