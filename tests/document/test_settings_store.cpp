// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
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

    void createdThenExisted() {
        SettingsStore store(IniPath("created.ini"));
        QVERIFY(!store.HasKey("Vorlo.Introduction"));
        QVERIFY(!store.OpenExistingKey("Vorlo.Introduction").has_value());
        QVERIFY(!store.HasKey("Vorlo.Introduction"));  // looking did not create it

        bool existed = true;
        auto key = store.OpenOrCreateKey("Vorlo.Introduction", &existed);
        QVERIFY(key.has_value());
        QVERIFY(!existed);
        QVERIFY(store.HasKey("Vorlo.Introduction"));
        for (const char* value : {"show", "", "%key", "%default", "%25key"}) {
            QVERIFY2(!key->HasValue(QString::fromUtf8(value)), value);  // a new key holds no values
        }

        key = store.OpenOrCreateKey("Vorlo.Introduction", &existed);
        QVERIFY(key.has_value());
        QVERIFY(existed);

        // A second store on the same file (the next start of the program).
        SettingsStore later(IniPath("created.ini"));
        QVERIFY(later.OpenOrCreateKey("Vorlo.Introduction", &existed).has_value());
        QVERIFY(existed);
        QVERIFY(later.OpenOrCreateKey("Vorlo.Path", &existed).has_value());
        QVERIFY(!existed);
    }

    void byteRoundTrip_data() {
        QTest::addColumn<int>("byte");
        QTest::newRow("zero") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("high bit") << 0x80;
        QTest::newRow("all ones") << 0xFF;
        QTest::newRow("newline") << 0x0A;
    }
    void byteRoundTrip() {
        QFETCH(int, byte);
        const QString path = IniPath(QStringLiteral("byte%1.ini").arg(byte));
        {
            SettingsStore store(path);
            auto key = store.OpenOrCreateKey("Vorlo.Introduction");
            QVERIFY(key.has_value());
            QVERIFY(key->WriteByte("show", static_cast<uint8_t>(byte)));
        }
        SettingsStore store(path);
        auto key = store.OpenOrCreateKey("Vorlo.Introduction");
        QVERIFY(key.has_value());
        QCOMPARE(key->ReadByte("show"), std::optional<uint8_t>(static_cast<uint8_t>(byte)));
        QVERIFY(!key->ReadString("show").has_value());  // binary is not text
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
            auto key = store.OpenOrCreateKey("Vorlo.Path");
            QVERIFY(key.has_value());
            QVERIFY(key->WriteString("fullpath", text));
        }
        SettingsStore store(path);
        auto key = store.OpenOrCreateKey("Vorlo.Path");
        QVERIFY(key.has_value());
        QCOMPARE(key->ReadString("fullpath"), std::optional<QString>(text));
    }

    void missingAndMisfitValues() {
        const QString path = IniPath("misfit.ini");
        SettingsStore store(path);
        auto key = store.OpenOrCreateKey("Vorlo.Introduction");
        QVERIFY(key.has_value());
        QVERIFY(!key->ReadByte("show").has_value());
        QVERIFY(!key->ReadString("show").has_value());
        QVERIFY(!key->HasValue("show"));

        // A value that does not fit in one byte reads as nothing.
        QVERIFY(key->WriteString("show", "folder"));
        QVERIFY(!key->ReadByte("show").has_value());
        QVERIFY(key->WriteString("show", "256"));
        QVERIFY(!key->ReadByte("show").has_value());

        // Two bytes of binary data do not fit either.
        {
            QSettings raw(path, QSettings::IniFormat);
            raw.setValue("Vorlo.Introduction/show", QByteArray("\x01\x01", 2));
        }
        QVERIFY(!key->ReadByte("show").has_value());
        {
            QSettings raw(path, QSettings::IniFormat);
            raw.setValue("Vorlo.Introduction/show", QByteArray());
        }
        QVERIFY(!key->ReadByte("show").has_value());
    }

    void handEditedFile() {
        const QString path = IniPath("hand.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Vorlo.Introduction]\nshow=0\n\n[Vorlo.Path]\nfullpath=/opt/vorlo/\n");
        file.close();

        SettingsStore store(path);
        bool existed = false;
        auto intro = store.OpenOrCreateKey("Vorlo.Introduction", &existed);
        QVERIFY(intro.has_value());
        QVERIFY(existed);
        QCOMPARE(intro->ReadByte("show"), std::optional<uint8_t>(0));
        auto where = store.OpenOrCreateKey("Vorlo.Path", &existed);
        QVERIFY(where.has_value());
        QVERIFY(existed);
        QCOMPARE(where->ReadString("fullpath"), std::optional<QString>("/opt/vorlo/"));
    }

    void readOnlyFileCanStillBeRead() {
        // A store file without write permission can be read, but no key opens
        // for writing. Root ignores the permission: there nobody runs it.
        VORLO_RUN_AS_NOBODY_WHEN_ROOT();
        const QString path = IniPath("readonly.ini");
        {
            SettingsStore store(path);
            auto key = store.OpenOrCreateKey("Vorlo.Introduction");
            QVERIFY(key.has_value());
            QVERIFY(key->WriteByte("show", 0));
        }
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        if (QFileInfo(path).isWritable()) {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QSKIP("the file's mode does not stop this user");
        }
        SettingsStore store(path);
        QVERIFY(!store.IsWritable());
        QVERIFY(!store.OpenOrCreateKey("Vorlo.Introduction").has_value());
        auto key = store.OpenExistingKey("Vorlo.Introduction");
        QVERIFY(key.has_value());
        QCOMPARE(key->ReadByte("show"), std::optional<uint8_t>(0));
        QVERIFY(!key->WriteByte("show", 1));
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
        QVERIFY(!store.OpenExistingKey("Vorlo.Introduction").has_value());
        bool existed = true;
        QVERIFY(!store.OpenOrCreateKey("Vorlo.Introduction", &existed).has_value());
        QVERIFY(!store.HasKey("Vorlo.Introduction"));
    }

    void keyWritesFailWhenStoreBecomesUnwritable() {
        // A key opened while the store was writable reports failed writes
        // once its file can no longer be written.
        const QString folder = IniPath("vanishing");
        QVERIFY(QDir().mkpath(folder));
        SettingsStore store(folder + "/vorlo.ini");
        auto key = store.OpenOrCreateKey("Vorlo.Introduction");
        QVERIFY(key.has_value());
        QVERIFY(key->WriteByte("show", 1));

        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!key->WriteByte("show", 0));
        QVERIFY(!key->WriteString("fullpath", "/x/"));
    }

    void oddNames_data() {
        QTest::addColumn<QString>("keyName");
        QTest::addColumn<QString>("valueName");
        QTest::newRow("dots") << "Vorlo.Path"
                              << "fullpath";
        QTest::newRow("leading dot") << ".vrl"
                                     << "";
        QTest::newRow("slashes") << "vrlfile/shell/open"
                                 << "a/b";
        QTest::newRow("backslashes") << "vrlfile\\DefaultIcon"
                                     << "x\\y";
        QTest::newRow("percent") << "100%"
                                 << "%2F";
        QTest::newRow("spaces and brackets") << " [General] "
                                             << "= ; #";
        QTest::newRow("General") << "General"
                                 << "show";
        QTest::newRow("hebrew") << "חידה"
                                << "ערך";
        QTest::newRow("marker-like") << "key"
                                     << "%key";
    }
    void oddNames() {
        QFETCH(QString, keyName);
        QFETCH(QString, valueName);
        const QString path = IniPath(QStringLiteral("odd-%1.ini").arg(QTest::currentDataTag()));
        {
            SettingsStore store(path);
            bool existed = true;
            auto key = store.OpenOrCreateKey(keyName, &existed);
            QVERIFY(key.has_value());
            QVERIFY(!existed);
            QVERIFY(key->WriteString(valueName, "text"));
            QVERIFY(key->WriteByte(valueName + "!", 7));
        }
        SettingsStore store(path);
        bool existed = false;
        auto key = store.OpenOrCreateKey(keyName, &existed);
        QVERIFY(key.has_value());
        QVERIFY(existed);
        QCOMPARE(key->ReadString(valueName), std::optional<QString>("text"));
        QCOMPARE(key->ReadByte(valueName + "!"), std::optional<uint8_t>(7));

        // Names that only look alike stay apart: no splitting at separators,
        // no folding of escapes.
        for (const QString& other : {keyName + "x", QString(keyName).replace('/', '\\'),
                                     QString(keyName).replace('.', '/'), QStringLiteral("vrlfile"),
                                     QStringLiteral("Vorlo")}) {
            if (other != keyName) {
                QVERIFY2(!store.HasKey(other), qPrintable(other));
            }
        }
        QVERIFY(!key->HasValue(valueName + "x"));
    }

    void emptyKeyNameFails() {
        SettingsStore store(IniPath("empty-name.ini"));
        QVERIFY(!store.OpenOrCreateKey("").has_value());
    }

    void userStoreFollowsXdgConfigHome() {
        SettingsStore store;
        QCOMPARE(store.FileName(), dir_.filePath("xdg/vorlo/vorlo.conf"));
        QVERIFY(store.OpenOrCreateKey("Vorlo.Introduction").has_value());
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
            QVERIFY(!store.HasKey("Vorlo.Path"));  // reading created nothing
            QVERIFY(store.SetRecentFiles({"/a/one.vrl", "/b/two.vrl", "/c/three.vrl"}, 4));
            QVERIFY(store.SetOpenFolder("/b"));
            QVERIFY(store.OpenOrCreateKey("Vorlo.Path")->WriteString("fullpath", "/usr/share/v/"));
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
            SettingsStore old(earlier.store);
            QVERIFY(old.OpenOrCreateKey("Vorlo.Introduction")->WriteByte("show", 0));
            QVERIFY(old.OpenOrCreateKey("Vorlo.Path")->WriteString("fullpath", "/opt/vorlo/"));
            QVERIFY(old.OpenOrCreateKey("Vorlo.Empty"));
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
            QCOMPARE(store.HasKey("Vorlo.Introduction"), withStore);
            QCOMPARE(store.HasKey("Vorlo.Empty"), withStore);
            QCOMPARE(store.InstallationFolder(), withStore ? "/opt/vorlo/" : QString());
            if (withStore) {
                QCOMPARE(store.OpenExistingKey("Vorlo.Introduction")->ReadByte("show"),
                         std::optional<uint8_t>(0));
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
        QVERIFY(!store.HasKey("Vorlo.Path"));
        QVERIFY(!store.IsWritable());
        QVERIFY(!store.OpenOrCreateKey("Vorlo.Introduction").has_value());
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
        QVERIFY(old.OpenOrCreateKey("Vorlo.Path")->WriteString("fullpath", "/x/"));
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
