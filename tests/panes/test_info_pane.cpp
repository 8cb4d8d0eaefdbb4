// SPDX-License-Identifier: GPL-3.0-or-later
// The information pane itself: the server's page when a server answers, the
// installed copy when it does not, nothing without an installation folder,
// and no reaction to the board's changes.

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "info_pane.h"
#include "riddle_document.h"
#include "test_http_server.h"

class TestInfoPane : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString installationFolder_;

    void SetInstallationFolder(const QString& folder) { installationFolder_ = folder; }

    // The pane as the window hands it the installation folder.
    void HandDown(InfoPane& pane) {
        pane.InstallationFolder = [this] { return installationFolder_; };
    }

    static QString Shown(InfoPane& pane) {
        QSignalSpy shown(&pane, &InfoPane::PageShown);
        pane.OnInitialUpdate();
        if (!shown.wait(10000)) {
            return QStringLiteral("(nothing arrived)");
        }
        return pane.toPlainText();
    }

private slots:
    void initTestCase() {
        const QString folder = dir_.filePath(QStringLiteral("install"));
        QVERIFY(QDir().mkpath(folder));
        QFile page(folder + QStringLiteral("/vorlo_heb.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body><p>INSTALLED COPY</p></body></html>");
        page.close();
        SetInstallationFolder(folder + QStringLiteral("/"));
    }

    void showsTheServersPageThenTheInstalledCopy() {
        RiddleDocument doc;
        InfoPane pane(&doc);
        HandDown(pane);
        {
            vorlo::test::HttpServer server(vorlo::test::Answer::Page);
            server.page = "<html><body><p>FROM THE SERVER</p></body></html>";
            QVERIFY(server.listen(QHostAddress::LocalHost));
            qputenv("VORLO_INFO_SERVER",
                    QByteArray("127.0.0.1:") + QByteArray::number(server.serverPort()));
            QVERIFY(Shown(pane).contains(QStringLiteral("FROM THE SERVER")));
            // The server goes away: the next riddle's update shows the copy.
        }
        QVERIFY(Shown(pane).contains(QStringLiteral("INSTALLED COPY")));
        qunsetenv("VORLO_INFO_SERVER");
    }

    // With the English interface the English page is shown where one is
    // installed, and the server, which holds only the Hebrew one, is not asked.
    void englishReadersGetTheEnglishPage() {
        const QString folder = dir_.filePath(QStringLiteral("english"));
        QVERIFY(QDir().mkpath(folder));
        for (const char* name : {"vorlo_heb.html", "vorlo_eng.html"}) {
            QFile page(folder + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(page.open(QIODevice::WriteOnly));
            page.write(QByteArray("<html><body><p>") + name + "</p></body></html>");
        }
        RiddleDocument doc;
        InfoPane pane(&doc);
        pane.InstallationFolder = [folder] { return folder; };
        int made = 0;
        pane.MakeSource = [&made](vorlo::InfoPageReady, QString*) {
            ++made;
            return std::unique_ptr<vorlo::InfoPageSource>();
        };
        QCOMPARE(Shown(pane).trimmed(), QStringLiteral("vorlo_eng.html"));
        QCOMPARE(made, 0);
    }

    // Without the module that asks the server, the pane still shows the
    // installed copy (or nothing without a folder), as the module's source
    // does: later, from the event loop, and only the latest load's.
    void showsTheInstalledCopyWithoutTheServersModule_data() {
        QTest::addColumn<bool>("withFolder");
        QTest::addColumn<int>("loads");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the installed copy") << true << 1 << QStringLiteral("INSTALLED COPY");
        QTest::newRow("two loads, one page") << true << 2 << QStringLiteral("INSTALLED COPY");
        QTest::newRow("no installation folder") << false << 1 << QString();
    }
    void showsTheInstalledCopyWithoutTheServersModule() {
        QFETCH(bool, withFolder);
        QFETCH(int, loads);
        QFETCH(QString, expected);
        RiddleDocument doc;
        InfoPane pane(&doc);
        if (withFolder) {
            HandDown(pane);
        }
        int made = 0;
        pane.MakeSource = [&made](vorlo::InfoPageReady, QString* why) {
            ++made;
            *why = QStringLiteral("no module here");
            return std::unique_ptr<vorlo::InfoPageSource>();
        };
        QSignalSpy shown(&pane, &InfoPane::PageShown);
        QTest::ignoreMessage(QtWarningMsg,
                             "vorlo: the information page is shown from the installed copy "
                             "only: no module here");
        for (int i = 0; i < loads; ++i) {
            pane.OnInitialUpdate();
        }
        QCOMPARE(made, 1);  // asked once, not at every load
        QCOMPARE(shown.count(), 0);
        QVERIFY(shown.wait(10000));
        QCOMPARE(pane.toPlainText().trimmed(), expected);
        QCOMPARE(shown.takeFirst().at(0).toUrl().isLocalFile(), withFolder);
        QVERIFY(!shown.wait(200));  // the earlier load's page never follows
    }

    // A module cut short (a full disk during an update) or not a module at
    // all is refused before it is loaded, which would otherwise end the
    // program with SIGBUS: the pane shows the installed copy. The sound
    // module still loads.
    void refusesADamagedModule_data() {
        QTest::addColumn<qint64>("keep");  // bytes kept; -1 all but one, -2 half, -3 all
        QTest::addColumn<int>("patchAt");  // a byte set to `patch`, or -1
        QTest::addColumn<int>("patch");
        QTest::addColumn<QByteArray>("replacement");  // the file's bytes instead, when set
        QTest::addColumn<bool>("loads");
        QTest::newRow("sound") << qint64(-3) << -1 << 0 << QByteArray() << true;
        QTest::newRow("3,000 bytes") << qint64(3000) << -1 << 0 << QByteArray() << false;
        QTest::newRow("20,000 bytes") << qint64(20000) << -1 << 0 << QByteArray() << false;
        QTest::newRow("half") << qint64(-2) << -1 << 0 << QByteArray() << false;
        QTest::newRow("one byte short") << qint64(-1) << -1 << 0 << QByteArray() << false;
        QTest::newRow("empty") << qint64(0) << -1 << 0 << QByteArray() << false;
        QTest::newRow("not ELF") << qint64(-3) << -1 << 0 << QByteArray("#!/bin/sh\n") << false;
        QTest::newRow("32-bit class") << qint64(-3) << 4 << 1 << QByteArray() << false;
        QTest::newRow("another machine") << qint64(-3) << 18 << 183 << QByteArray() << false;
    }
    void refusesADamagedModule() {
        QFETCH(qint64, keep);
        QFETCH(int, patchAt);
        QFETCH(int, patch);
        QFETCH(QByteArray, replacement);
        QFETCH(bool, loads);
        QFile built(QStringLiteral(VORLO_INFOPAGE_MODULE));
        QVERIFY2(built.open(QIODevice::ReadOnly), qPrintable(built.fileName()));
        QByteArray bytes = built.readAll();
        QVERIFY(bytes.size() > 20000);
        const qint64 kept = keep == -1 ? bytes.size() - 1 : keep == -2 ? bytes.size() / 2 : keep;
        if (kept >= 0) {
            bytes.truncate(kept);
        }
        if (patchAt >= 0) {
            bytes[patchAt] = static_cast<char>(patch);
        }
        if (!replacement.isNull()) {
            bytes = replacement;
        }
        // A folder of its own for each copy, so that none is taken for
        // another already loaded.
        QTemporaryDir folder(dir_.filePath(QStringLiteral("module-XXXXXX")));
        QFile copy(folder.filePath(QStringLiteral("vorlo-infopage.so")));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        QCOMPARE(copy.write(bytes), bytes.size());
        copy.close();

        QCOMPARE(vorlo::ModuleFileProblem(copy.fileName()).isEmpty(), loads);
        RiddleDocument doc;
        InfoPane pane(&doc);
        HandDown(pane);
        bool made = false;
        pane.MakeSource = [&](vorlo::InfoPageReady ready, QString* why) {
            auto source = vorlo::LoadOnlineInfoPageSourceFrom({folder.path()}, ready, why);
            made = source != nullptr;
            return source;
        };
        if (!loads) {
            QTest::ignoreMessage(
                QtWarningMsg,
                QRegularExpression(QStringLiteral("installed copy only: .*vorlo-infopage\\.so: ")));
        }
        qputenv("VORLO_INFO_SERVER", "127.0.0.1:9");
        QVERIFY(Shown(pane).contains(QStringLiteral("INSTALLED COPY")));
        qunsetenv("VORLO_INFO_SERVER");
        QCOMPARE(made, loads);
    }

    void ignoresTheBoardsChanges() {
        RiddleDocument doc;
        InfoPane pane(&doc);
        HandDown(pane);
        qputenv("VORLO_INFO_SERVER", "127.0.0.1:9");
        QVERIFY(Shown(pane).contains(QStringLiteral("INSTALLED COPY")));
        QSignalSpy shown(&pane, &InfoPane::PageShown);
        emit doc.boardChanged(vorlo::BoardChange{});
        emit doc.contentsChanged();
        QVERIFY(!shown.wait(300));
        QVERIFY(pane.toPlainText().contains(QStringLiteral("INSTALLED COPY")));
    }

    void showsNothingWithoutAnInstallationFolder() {
        SetInstallationFolder(QString());
        RiddleDocument doc;
        InfoPane pane(&doc);
        HandDown(pane);
        pane.setHtml(QStringLiteral("<p>old</p>"));
        qputenv("VORLO_INFO_SERVER", "127.0.0.1:9");
        QCOMPARE(Shown(pane).trimmed(), QString());
    }
};

QTEST_MAIN(TestInfoPane)
#include "test_info_pane.moc"
