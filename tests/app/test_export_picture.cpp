// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export Picture: the board, with the task text below it, as PNG,
// SVG and PDF.

#include <QAction>
#include <QFile>
#include <QImage>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "board_render.h"
#include "commands.h"
#include "file_commands.h"
#include "main_window.h"
#include "print_commands.h"
#include "recording_window.h"
#include "riddle_document.h"
#include "test_files.h"

using namespace vorlo;

using vorlo::test::ReadAll;

namespace {

const QString kExample = QStringLiteral(VORLO_SOURCE_DIR "/tests/data/worked_example.vrl");

// The columns of the dark pixels in rows from `top` down, as (first, last);
// (-1, -1) when there are none.
std::pair<int, int> DarkColumns(const QImage& image, int top) {
    int first = -1;
    int last = -1;
    for (int y = top; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                first = first < 0 ? x : std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

}  // namespace

class TestExportPicture : public QObject {
    Q_OBJECT

    RecordingFrame recording;
    std::unique_ptr<MainWindow>& frame = recording.frame;
    QTemporaryDir dir;

private slots:
    void init() {
        QVERIFY(dir.isValid());
        QVERIFY(recording.Make());
        QVERIFY(frame->Files().OpenDocumentFile(kExample));
    }
    void cleanup() { recording.Reset(); }

    void everyFormatIsWritten_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("png") << "cup.png" << QByteArray("\x89PNG");
        QTest::newRow("svg") << "cup.svg" << QByteArray("<?xml");
        QTest::newRow("pdf") << "cup.pdf" << QByteArray("%PDF");
        QTest::newRow("unknown name: png") << "cup.picture" << QByteArray("\x89PNG");
    }
    void everyFormatIsWritten() {
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        const QString path = dir.filePath(name);
        frame->AskExportPicture = [&](bool* withText) {
            *withText = true;
            return path;
        };
        frame->Action(CommandId::FileExportPicture)->trigger();
        QVERIFY(recording.errors.isEmpty());
        QVERIFY(ReadAll(path).startsWith(start));
        if (name.endsWith(QLatin1String(".svg"))) {
            // The board's polygons and the text as text, read right to left.
            const QByteArray svg = ReadAll(path);
            QCOMPARE(svg.count("<polygon"), 8);
            QCOMPARE(svg.count("<text"), 2);
            QVERIFY(svg.contains("direction=\"rtl\""));
            QVERIFY(svg.contains(QStringLiteral("והפכו את הכוס").toUtf8()));
        }
    }

    void textGoesBelowTheBoardFlushRight() {
        QString error;
        const QString bare = dir.filePath(QStringLiteral("bare.png"));
        const QString with = dir.filePath(QStringLiteral("with.png"));
        QVERIFY(frame->Printing().ExportPicture(bare, false, &error));
        QVERIFY(frame->Printing().ExportPicture(with, true, &error));
        const QImage board(bare);
        const QImage text(with);
        QVERIFY(!board.isNull() && !text.isNull());
        QVERIFY(text.height() > board.height() + 20);  // two lines of text
        // The board's picture lies unchanged at the top, centred when the
        // text made the picture wider.
        const int shift = (text.width() - board.width()) / 2;
        QCOMPARE(text.copy(shift, 0, board.width(), board.height()),
                 board.convertToFormat(text.format()));

        // A short Latin text stands at the right edge too.
        RiddleDocument::SetRiddleText(*frame->riddleDocument()->textDocument(),
                                      QStringLiteral("ab"));
        QVERIFY(frame->Printing().ExportPicture(with, true, &error));
        const QImage shortText(with);
        QCOMPARE(shortText.width(), board.width());
        const auto [first, last] = DarkColumns(shortText, board.height());
        QVERIFY2(first > shortText.width() / 2, qPrintable(QString::number(first)));
        QVERIFY(last >= shortText.width() - kTextPadding - 3);
        QVERIFY(last < shortText.width() - kTextPadding + 1);
    }

    // A text too long for the picture is cut: the export still succeeds,
    // within 8192 pixels, and the status bar says that the text was cut.
    void longTextIsCutAndSaidSo_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cut");
        QTest::newRow("the cup's text") << QString() << false;
        QTest::newRow("30,000 lines") << QStringLiteral("line\n").repeated(30000) << true;
        QTest::newRow("2 MB one word") << QString(2 << 20, u'a') << true;
    }
    void longTextIsCutAndSaidSo() {
        QFETCH(QString, text);
        QFETCH(bool, cut);
        if (!text.isEmpty()) {
            RiddleDocument::SetRiddleText(*frame->riddleDocument()->textDocument(), text);
        }
        const QString path = dir.filePath(QStringLiteral("long.png"));
        frame->AskExportPicture = [&](bool* withText) {
            *withText = true;
            return path;
        };
        QVERIFY(frame->Printing().OnFileExportPicture());
        QVERIFY(recording.errors.isEmpty());
        const QImage image(path);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide);
        QCOMPARE(frame->StatusBar->currentMessage().contains(QLatin1String("cut")), cut);
    }

    void cancelledOrFailedExportWritesNothing() {
        frame->AskExportPicture = [](bool*) { return QString(); };
        QVERIFY(!frame->Printing().OnFileExportPicture());
        const QString folder = dir.filePath(QStringLiteral("missing/cup.png"));
        frame->AskExportPicture = [&](bool*) { return folder; };
        QVERIFY(!frame->Printing().OnFileExportPicture());
        QCOMPARE(recording.errors.size(), 1);
        QVERIFY(!QFile::exists(folder));
    }
};

QTEST_MAIN(TestExportPicture)
#include "test_export_picture.moc"
