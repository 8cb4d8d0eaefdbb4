// SPDX-License-Identifier: GPL-3.0-or-later
// The information pane itself: the server's page when a server answers, the
// installed copy when it does not, nothing without an installation folder,
// and no reaction to the board's changes.

#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include "info_pane.h"
#include "test_http_server.h"
#include "riddle_document.h"

class TestAdsView : public QObject {
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

    void ignoresTheBoardsChanges() {
        RiddleDocument doc;
        InfoPane pane(&doc);
        HandDown(pane);
        qputenv("VORLO_INFO_SERVER", "127.0.0.1:9");
        QVERIFY(Shown(pane).contains(QStringLiteral("INSTALLED COPY")));
        QSignalSpy shown(&pane, &InfoPane::PageShown);
        doc.UpdateAllViews(nullptr, vorlo::HintBoardChanged);
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

QTEST_MAIN(TestAdsView)
#include "test_info_pane.moc"
