// SPDX-License-Identifier: GPL-3.0-or-later
// The program window among the desktop's files: the title with file names in
// any script, and riddle files dropped on the window.

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QUrl>

#include <memory>

#include "board_view.h"
#include "file_commands.h"
#include "info_pane.h"
#include "main_window.h"
#include "recording_window.h"
#include "riddle_document.h"
#include "task_pane.h"

namespace {

const QString kExample = QStringLiteral(VORLO_SOURCE_DIR "/resources/samples/riddle1.vrl");

// Where each character of `text` lands from the left, laid out as a single
// line in the direction its own letters give.
QList<qreal> VisualX(const QString& text) {
    QTextLayout layout(text, QApplication::font());
    QTextOption option;
    option.setTextDirection(Qt::LayoutDirectionAuto);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(10000);
    layout.endLayout();
    QList<qreal> xs;
    for (int i = 0; i < text.size(); ++i) {
        xs << line.cursorToX(i);
    }
    return xs;
}

}  // namespace

class TestFrameDesktop : public QObject {
    Q_OBJECT

private:
    RecordingFrame recording;
    std::unique_ptr<MainWindow>& frame = recording.frame;
    QTemporaryDir dir;
    QStringList& prompts = recording.prompts;
    QStringList& errors = recording.errors;
    QMessageBox::StandardButton& promptAnswer = recording.promptAnswer;

    QString CopyExampleAs(const QString& name) {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        if (!QFile::copy(kExample, path)) {
            return QString();
        }
        return path;
    }

    // A drag carrying `urls` enters over `widget` and is dropped there, as
    // the window system delivers it; Shift held, as a file manager's move.
    // Returns whether the drag was taken, and how in `taken`.
    bool DropOn(QWidget* widget, const QList<QUrl>& urls,
                Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction,
                Qt::DropAction* taken = nullptr) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = widget->rect().center();
        QDragEnterEvent enter(at, offered, &data, Qt::NoButton, Qt::ShiftModifier);
        QApplication::sendEvent(widget, &enter);
        if (!enter.isAccepted()) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(widget, &leave);
            return false;
        }
        QDropEvent drop(QPointF(at), offered, &data, Qt::NoButton, Qt::ShiftModifier);
        QApplication::sendEvent(widget, &drop);
        if (taken) {
            *taken = drop.dropAction();
        }
        const bool accepted = drop.isAccepted();
        // The riddle opens once the drop is over.
        QApplication::processEvents();
        return accepted;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void init() {
        promptAnswer = QMessageBox::Discard;
        QVERIFY(recording.Make());
    }
    void cleanup() { recording.Reset(); }

    // The title reads name, dash, program, whatever script the name is in;
    // names in Latin letters stand in it exactly as they are.
    void titleReadsNameDashProgram_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        const QString fsi(QChar(0x2068));
        const QString pdi(QChar(0x2069));
        QTest::newRow("Latin") << "cup.vrl"
                               << "cup.vrl[*] - vorlo";
        QTest::newRow("Hebrew") << QStringLiteral("ריבוע.vrl")
                                << fsi + QStringLiteral("ריבוע.vrl") + pdi + "[*] - vorlo";
        QTest::newRow("Latin then Hebrew")
            << QStringLiteral("cup ריבוע.vrl")
            << fsi + QStringLiteral("cup ריבוע.vrl") + pdi + "[*] - vorlo";
        QTest::newRow("Arabic") << QStringLiteral("مربع.vrl")
                                << fsi + QStringLiteral("مربع.vrl") + pdi + "[*] - vorlo";
        // A control that turns the rest around is shown, not obeyed, and
        // stays inside the name.
        QTest::newRow("right-to-left override")
            << QStringLiteral("cup\u202Eexe.vrl")
            << fsi + QStringLiteral("cup\\u202eexe.vrl") + pdi + "[*] - vorlo";
        QTest::newRow("a stray isolate end")
            << QStringLiteral("\u2069ריבוע.vrl")
            << fsi + QStringLiteral("\\u2069ריבוע.vrl") + pdi + "[*] - vorlo";
        QTest::newRow("newline and tab")
            << QStringLiteral("a\nb\tc.vrl")
            << fsi + QStringLiteral("a\\x0ab\\x09c.vrl") + pdi + "[*] - vorlo";
    }
    void titleReadsNameDashProgram() {
        QFETCH(QString, name);
        QFETCH(QString, title);
        const QString path = CopyExampleAs(name);
        QVERIFY(!path.isEmpty());
        QVERIFY(frame->Files().OpenDocumentFile(path));
        QCOMPARE(frame->windowTitle(), title);

        // Shown as one line, the name comes first, then the dash, then the
        // program's name at the right end.
        QString shown = frame->windowTitle();
        shown.replace(QLatin1String("[*]"), QString());
        const QList<qreal> x = VisualX(shown);
        const qsizetype dash = shown.lastIndexOf(QLatin1String(" - "));
        for (qsizetype i = 0; i < dash; ++i) {
            QVERIFY2(x[i] < x[dash + 1], qPrintable(QStringLiteral("name character %1").arg(i)));
        }
        for (qsizetype i = dash + 3; i + 1 < shown.size(); ++i) {
            QVERIFY(x[i] > x[dash + 1]);
            QVERIFY(x[i + 1] > x[i]);
        }
    }

    // A message names the file as the title does: escaped, never obeyed.
    void messagesShowNamesEscaped() {
        const QString path = dir.filePath(QStringLiteral("gone\n\u202Elrv.vrl"));
        QVERIFY(!frame->Files().OpenDocumentFile(path));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith(QStringLiteral("Cannot open the riddle ") + dir.path() +
                                      QStringLiteral("/gone\\x0a\\u202elrv.vrl:\n")),
                 qPrintable(errors[0]));
        QVERIFY(!errors[0].contains(QChar(0x202E)));
    }

    // A file URL opens only a file of this computer, as on the command line:
    // another host is refused with the command line's message, even where
    // its path read as a local one would name an existing riddle.
    void droppedFileUrls_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("refusedWithMessage");
        QTest::newRow("local") << "local" << true << true << false;
        QTest::newRow("localhost") << "localhost" << true << true << false;
        QTest::newRow("another host") << "host" << false << false << true;
        QTest::newRow("relative") << "relative" << false << false << false;
    }
    void droppedFileUrls() {
        QFETCH(QString, form);
        QFETCH(bool, taken);
        QFETCH(bool, opens);
        QFETCH(bool, refusedWithMessage);
        const QString riddle = CopyExampleAs(QStringLiteral("dropped.vrl"));
        QVERIFY(!riddle.isEmpty());
        // "/tmp/x/dropped.vrl" as "file://tmp/x/dropped.vrl": host "tmp".
        const qsizetype second = riddle.indexOf(u'/', 1);
        const QUrl url =
            form == QLatin1String("local")       ? QUrl::fromLocalFile(riddle)
            : form == QLatin1String("localhost") ? QUrl(QStringLiteral("file://localhost") + riddle)
            : form == QLatin1String("host")
                ? QUrl(QStringLiteral("file://") + riddle.mid(1, second - 1) + riddle.mid(second))
                : QUrl(QStringLiteral("file:dropped.vrl"));
        QVERIFY(url.isValid());
        RiddleDocument* doc = frame->riddleDocument();
        QCOMPARE(DropOn(frame->boardView()->viewport(), {url}), taken);
        QCOMPARE(doc->pathName() == QFileInfo(riddle).absoluteFilePath(), opens);
        if (refusedWithMessage) {
            QCOMPARE(errors,
                     QStringList{QStringLiteral("%1: only files on this computer can be opened")
                                     .arg(url.toDisplayString())});
        } else {
            QVERIFY(errors.isEmpty());
        }
    }

    // A riddle file dropped on the window opens as File > Open opens it,
    // save prompt included; anything else is refused.
    void droppedRiddleFilesOpen_data() {
        QTest::addColumn<QString>("where");  // "board", "text" or "info"
        QTest::newRow("on the board") << "board";
        QTest::newRow("on the text pane") << "text";
        QTest::newRow("on the information pane") << "info";
    }
    void droppedRiddleFilesOpen() {
        QFETCH(QString, where);
        QWidget* target = where == QLatin1String("board") ? frame->boardView()->viewport()
                          : where == QLatin1String("text")
                              ? frame->TextPane()->viewport()
                              : static_cast<QWidget*>(frame->AdsPane());
        const QString riddle = CopyExampleAs(QStringLiteral("dropped.vrl"));
        QVERIFY(!riddle.isEmpty());
        const QString other = CopyExampleAs(QStringLiteral("dropped.txt"));
        RiddleDocument* doc = frame->riddleDocument();

        // Refused: a file that is no riddle, and a riddle that is not local.
        QVERIFY(!DropOn(target, {QUrl::fromLocalFile(other)}));
        QVERIFY(!DropOn(target, {QUrl(QStringLiteral("https://www.vorlo.test/cup.vrl"))}));
        QVERIFY(doc->pathName().isEmpty());
        QVERIFY(doc->plainText().isEmpty());

        // A drag that would only move the file is refused: the file manager
        // could delete it once the drop is over.
        QVERIFY(!DropOn(target, {QUrl::fromLocalFile(riddle)}, Qt::MoveAction));
        QVERIFY(doc->pathName().isEmpty());

        // A modified riddle asks first; Cancel keeps it.
        doc->setModified(true);
        promptAnswer = QMessageBox::Cancel;
        QVERIFY(DropOn(target, {QUrl::fromLocalFile(riddle)}));
        QCOMPARE(prompts.size(), 1);
        QVERIFY(doc->pathName().isEmpty());
        QVERIFY(doc->isModified());

        // Discard opens the dropped riddle, the first riddle among the files.
        // Offered as a move too, it is taken as a copy.
        promptAnswer = QMessageBox::Discard;
        Qt::DropAction taken = Qt::IgnoreAction;
        QVERIFY(DropOn(target, {QUrl::fromLocalFile(other), QUrl::fromLocalFile(riddle)},
                       Qt::CopyAction | Qt::MoveAction, &taken));
        QCOMPARE(taken, Qt::CopyAction);
        QVERIFY(QFileInfo::exists(riddle));
        QCOMPARE(prompts.size(), 2);
        QCOMPARE(doc->pathName(), QFileInfo(riddle).absoluteFilePath());
        QCOMPARE(doc->MatchList.Count(), size_t(4));
        QVERIFY(errors.isEmpty());
        // Nothing of the drop went into the text.
        QVERIFY(!doc->plainText().contains(QLatin1String("dropped")));
    }
};

QTEST_MAIN(TestFrameDesktop)
#include "test_frame_desktop.moc"
