// SPDX-License-Identifier: GPL-3.0-or-later
// What the window leaves until after its first paint, and what it must not
// lose by waiting: the information page's request and layout, the settings
// writes of an open, and the toolbar's pictures drawn at build time.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>

#include "commands.h"
#include "file_commands.h"
#include "info_pane.h"
#include "main_window.h"
#include "riddle_file.h"
#include "riddle_io.h"
#include "settings_store.h"
#include "vorlo_application.h"

using namespace vorlo;

namespace {

// Notes, at the first paint of any part of `frame`, whether the information
// pane had started on its page and whether a request had reached `server`.
class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(MainWindow* frame, QTcpServer* server) : frame_(frame), server_(server) {}

    bool seen = false;
    bool paneHeld = false;
    bool requestArrived = false;
    int pagesShown = -1;
    QSignalSpy* shown = nullptr;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == frame_) {
            seen = true;
            paneHeld = frame_->AdsPane()->LoadingHeld();
            // Polls the listening socket without the event loop.
            requestArrived = server_->waitForNewConnection(0);
            pagesShown = shown != nullptr ? static_cast<int>(shown->count()) : -1;
        }
        return false;
    }

private:
    MainWindow* frame_;
    QTcpServer* server_;
};

}  // namespace

class TestDeferredStart : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int n_ = 0;

    void FreshConfigHome() {
        const QString home = dir_.filePath(QStringLiteral("config%1").arg(++n_));
        QVERIFY(QDir().mkpath(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home);
        VorloApplication::RecordInstallationFolder();
    }

    // A riddle in a folder of its own, outside the samples.
    QString MakeRiddle(const QString& name) {
        const QString folder = dir_.filePath(QStringLiteral("riddles%1").arg(n_));
        QDir().mkpath(folder);
        const QString path = folder + u'/' + name;
        QString error;
        MatchList matches;
        matches.Append(Match{10, 20, 90});
        if (!SaveRiddleFile(path, matches, QStringLiteral("task"), &error)) {
            qWarning("%s", qPrintable(error));
            return {};
        }
        return QFileInfo(path).absoluteFilePath();
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void theWindowIsPaintedBeforeTheInformationPageIsAskedFor() {
        FreshConfigHome();
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QByteArray previous = qgetenv("VORLO_INFO_SERVER");
        qputenv("VORLO_INFO_SERVER",
                QByteArray("127.0.0.1:") + QByteArray::number(server.serverPort()));

        auto frame = std::make_unique<MainWindow>();
        frame->ShowError = [](const QString& message) { QFAIL(qPrintable(message)); };
        frame->AdsPane()->EnglishPageFirst = false;  // the server's page, as in Hebrew
        QSignalSpy shown(frame->AdsPane(), &InfoPane::PageShown);
        FirstPaintWatcher watcher(frame.get(), &server);
        watcher.shown = &shown;
        qApp->installEventFilter(&watcher);
        // A riddle opened from the command line, before the window shows,
        // asks for the page again: that waits as well.
        QVERIFY(frame->Files().OpenDocumentFile(MakeRiddle(QStringLiteral("start.vrl"))));
        QVERIFY(frame->AdsPane()->LoadingHeld());
        frame->show();
        QTRY_VERIFY_WITH_TIMEOUT(watcher.seen, 10000);
        qApp->removeEventFilter(&watcher);

        QVERIFY(watcher.paneHeld);
        QVERIFY(!watcher.requestArrived);
        QCOMPARE(watcher.pagesShown, 0);
        QVERIFY(frame->FirstPaintSeen());
        // Then the request goes out, and the page (here the installed copy,
        // as the server never answers) is shown.
        QTRY_VERIFY_WITH_TIMEOUT(!frame->AdsPane()->LoadingHeld(), 10000);
        QVERIFY(server.waitForNewConnection(10000));
        delete server.nextPendingConnection();
        server.close();
        QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= 1, 15000);
        qputenv("VORLO_INFO_SERVER", previous);
    }

    // Each normal way out writes what an open noted; the timer writes it
    // without any.
    void openedRiddlesAreKeptWhateverTheWayOut_data() {
        QTest::addColumn<QString>("way");
        for (const char* way : {"close", "destroy", "timer", "quit"}) {
            QTest::newRow(way) << QString::fromLatin1(way);
        }
    }

    void openedRiddlesAreKeptWhateverTheWayOut() {
        QFETCH(QString, way);
        FreshConfigHome();
        const QString riddle = MakeRiddle(QStringLiteral("kept.vrl"));
        QVERIFY(!riddle.isEmpty());
        auto frame = std::make_unique<MainWindow>();
        frame->ShowError = [](const QString& message) { QFAIL(qPrintable(message)); };
        QVERIFY(frame->Files().OpenDocumentFile(riddle));
        // Noted, not yet written; the Open dialog already starts there.
        QVERIFY(frame->Files().SettingsPending());
        QVERIFY(SettingsStore().RecentFiles(kRecentFileCount).isEmpty());
        QCOMPARE(FileCommands::OpenDialogFolder(), QFileInfo(riddle).absolutePath());

        if (way == u"close") {
            QVERIFY(frame->close());
        } else if (way == u"destroy") {
            frame.reset();
        } else if (way == u"timer") {
            QTRY_VERIFY_WITH_TIMEOUT(!frame->Files().SettingsPending(), 10000);
        } else {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            QCoreApplication::exec();
        }
        if (frame) {
            QVERIFY(!frame->Files().SettingsPending());
        }
        SettingsStore settings;
        QCOMPARE(settings.RecentFiles(kRecentFileCount), QStringList{riddle});
        QCOMPARE(settings.OpenFolder(), QFileInfo(riddle).absolutePath());
    }

    // Several opens in a row share one write, in order, newest first.
    void opensInARowAreWrittenTogether() {
        FreshConfigHome();
        MainWindow frame;
        frame.ShowError = [](const QString& message) { QFAIL(qPrintable(message)); };
        const QString first = MakeRiddle(QStringLiteral("first.vrl"));
        const QString second = MakeRiddle(QStringLiteral("second.vrl"));
        QVERIFY(frame.Files().OpenDocumentFile(first));
        QVERIFY(frame.Files().OpenDocumentFile(second));
        QVERIFY(frame.Files().OpenDocumentFile(first));
        QVERIFY(SettingsStore().RecentFiles(kRecentFileCount).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!frame.Files().SettingsPending(), 10000);
        QCOMPARE(SettingsStore().RecentFiles(kRecentFileCount), (QStringList{first, second}));
    }

    // Every toolbar picture is compiled in at 100% and at 200%, drawn at its
    // size; no SVG is left to parse.
    void toolbarPicturesAreReadyAtBothScales() {
        int pictures = 0;
        for (const Command& command : Commands()) {
            if (!*command.fallbackIcon) {
                continue;
            }
            ++pictures;
            const QString path = QString::fromLatin1(command.fallbackIcon);
            QVERIFY2(path.endsWith(QLatin1String(".png")), qPrintable(path));
            QString twice = path;
            twice.insert(twice.lastIndexOf(u'.'), QStringLiteral("@2x"));
            const QImage one(path);
            const QImage two(twice);
            QCOMPARE(one.size(), QSize(16, 15));
            QCOMPARE(two.size(), QSize(32, 30));
            // Drawn, not empty: some pixel is (nearly) opaque.
            for (const QImage& image : {one, two}) {
                bool drawn = false;
                for (int y = 0; y < image.height() && !drawn; ++y) {
                    for (int x = 0; x < image.width() && !drawn; ++x) {
                        drawn = qAlpha(image.pixel(x, y)) >= 192;
                    }
                }
                QVERIFY2(drawn, qPrintable(path));
            }
        }
        QCOMPARE(pictures, 11);
        const QStringList svgs =
            QDir(QStringLiteral(":/window")).entryList({QStringLiteral("*.svg")});
        QVERIFY2(svgs.isEmpty(), qPrintable(svgs.join(u' ')));
    }

    // The desktop's icon theme is asked only once the window is on the
    // screen: the first paint shows the bundled pictures, and then the
    // theme's own replace them where the theme has one.
    void themePicturesReplaceTheBundledOnesAfterTheFirstPaint() {
        FreshConfigHome();
        const QString themes = dir_.filePath(QStringLiteral("themes"));
        const QString folder = themes + QStringLiteral("/probe/16x16/actions");
        QVERIFY(QDir().mkpath(folder));
        QFile index(themes + QStringLiteral("/probe/index.theme"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write(
            "[Icon Theme]\nName=probe\nDirectories=16x16/actions\n\n"
            "[16x16/actions]\nSize=16\nType=Fixed\n");
        index.close();
        QImage red(16, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(folder + QStringLiteral("/document-new.png")));

        const QStringList previousPaths = QIcon::themeSearchPaths();
        const QString previousTheme = QIcon::themeName();
        QIcon::setThemeSearchPaths({themes});
        QIcon::setThemeName(QStringLiteral("probe"));
        {
            auto frame = std::make_unique<MainWindow>();
            frame->ShowError = [](const QString& message) { QFAIL(qPrintable(message)); };
            QSignalSpy painted(frame.get(), &MainWindow::FirstPainted);
            // Which actions showed a theme picture when the window was painted.
            QStringList themedAtPaint;
            bool seen = false;
            struct Watcher : QObject {
                std::function<void()> onPaint;
                MainWindow* frame = nullptr;
                bool eventFilter(QObject* watched, QEvent* event) override {
                    if (onPaint && event->type() == QEvent::Paint && watched->isWidgetType() &&
                        static_cast<QWidget*>(watched)->window() == frame) {
                        onPaint();
                        onPaint = nullptr;
                    }
                    return false;
                }
            } watcher;
            watcher.frame = frame.get();
            watcher.onPaint = [&] {
                seen = true;
                for (QAction* action : frame->ToolBar->actions()) {
                    if (!action->icon().name().isEmpty()) {
                        themedAtPaint << action->objectName();
                    }
                }
            };
            qApp->installEventFilter(&watcher);
            frame->show();
            QTRY_VERIFY_WITH_TIMEOUT(painted.count() == 1, 10000);
            qApp->removeEventFilter(&watcher);
            QVERIFY(seen);
            QCOMPARE(themedAtPaint, QStringList());

            const QIcon fromTheme = frame->Action(CommandId::FileNew)->icon();
            QCOMPARE(fromTheme.name(), QStringLiteral("document-new"));
            QCOMPARE(fromTheme.pixmap(QSize(16, 16), 1.0).toImage().pixelColor(8, 8),
                     QColor(Qt::red));
            // A name the theme lacks (even cut at its dash) keeps the bundled
            // picture at both scales.
            const QIcon bundled = frame->Action(CommandId::EditCopy)->icon();
            QVERIFY(bundled.name().isEmpty());
            QCOMPARE(bundled.pixmap(QSize(16, 15), 2.0).size(), QSize(32, 30));
        }
        QIcon::setThemeName(previousTheme);
        QIcon::setThemeSearchPaths(previousPaths);
    }

    // The window's icon waits for the first paint, and then comes drawn at
    // every size it offers.
    void windowIconIsReadyDrawnAfterTheFirstPaint() {
        FreshConfigHome();
        MainWindow frame;
        QSignalSpy painted(&frame, &MainWindow::FirstPainted);
        QVERIFY(frame.windowIcon().availableSizes().isEmpty());
        frame.show();
        QTRY_VERIFY_WITH_TIMEOUT(painted.count() == 1, 10000);
        const QIcon icon = frame.windowIcon();
        QList<QSize> offered = icon.availableSizes();
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage drawn(QStringLiteral(":/icons/vorlo-%1.png").arg(size));
            QCOMPARE(drawn.size(), QSize(size, size));
            QVERIFY(offered.removeAll(QSize(size, size)) == 1);
            QCOMPARE(icon.pixmap(QSize(size, size), 1.0)
                         .toImage()
                         .convertToFormat(QImage::Format_ARGB32),
                     drawn.convertToFormat(QImage::Format_ARGB32));
        }
        QVERIFY(offered.isEmpty());
    }

    // The action's icon hands a 200% screen the picture drawn for it, not
    // the 100% one enlarged.
    void toolbarIconsChooseThePictureOfTheScreensScale() {
        FreshConfigHome();
        MainWindow frame;
        for (const CommandId id : ToolBarLayout()) {
            if (id == CommandId::Separator) {
                continue;
            }
            const QIcon icon = frame.Action(id)->icon();
            const QPixmap sharp = icon.pixmap(QSize(16, 15), 2.0);
            QCOMPARE(sharp.deviceIndependentSize().toSize(), QSize(16, 15));
            QCOMPARE(sharp.size(), QSize(32, 30));
            QCOMPARE(icon.pixmap(QSize(16, 15), 1.0).size(), QSize(16, 15));
            if (QIcon::themeName().isEmpty() || !QIcon::hasThemeIcon(icon.name())) {
                QString path;
                for (const Command& command : Commands()) {
                    if (command.id == id) {
                        path = QString::fromLatin1(command.fallbackIcon);
                    }
                }
                path.insert(path.lastIndexOf(u'.'), QStringLiteral("@2x"));
                QCOMPARE(sharp.toImage().convertToFormat(QImage::Format_ARGB32),
                         QImage(path).convertToFormat(QImage::Format_ARGB32));
            }
        }
    }
};

QTEST_MAIN(TestDeferredStart)
#include "test_deferred_start.moc"
