// SPDX-License-Identifier: GPL-3.0-or-later
// The riddle text pane: right-aligned whatever comes in, each paragraph in
// the direction of its first letter, plain text only, a fresh history after
// New and Open.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTest>

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>
#include <memory>

#include "riddle_file.h"

#include "riddle_document.h"
#include "task_pane.h"

namespace {

// Which blocks are not laid out right-aligned, whatever their direction, in
// the direction their first strong letter gives.
QList<int> BlocksNotRightAligned(QTextDocument* text) {
    QList<int> wrong;
    int i = 0;
    for (QTextBlock b = text->begin(); b.isValid(); b = b.next(), ++i) {
        const QTextBlockFormat f = b.blockFormat();
        const Qt::LayoutDirection own =
            b.text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
        if ((f.alignment() & (Qt::AlignHorizontal_Mask | Qt::AlignAbsolute)) !=
                (Qt::AlignRight | Qt::AlignAbsolute) ||
            b.textDirection() != own) {
            wrong << i;
        }
    }
    return wrong;
}

}  // namespace

class TestTaskPane : public QObject {
    Q_OBJECT

private slots:
    void everyParagraphIsRightAligned_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("one") << QStringLiteral("שלום");
        QTest::newRow("three") << QStringLiteral("א\nb\n\nג");
    }
    void everyParagraphIsRightAligned() {
        QFETCH(QString, text);
        RiddleDocument doc;
        TaskPane view(&doc);
        doc.textDocument()->setPlainText(text);
        view.OnInitialUpdate();
        QCOMPARE(BlocksNotRightAligned(doc.textDocument()), QList<int>());
        QVERIFY(!doc.isModified());
        QVERIFY(!doc.textDocument()->isUndoAvailable());

        // What is typed after it, new paragraphs included, is aligned too.
        view.show();
        view.moveCursor(QTextCursor::End);
        QTest::keyClicks(&view, "ab");
        QTest::keyClick(&view, Qt::Key_Return);
        QTest::keyClicks(&view, "cd");
        QCOMPARE(BlocksNotRightAligned(doc.textDocument()), QList<int>());
        QVERIFY(doc.isModified());
    }

    // Each paragraph reads in its own direction, flush right: a Latin
    // sentence keeps its full stop after its last word, a Hebrew one reads
    // right to left. The same layout goes to paper.
    void paragraphsReadInTheirOwnDirection_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<bool>>("rightToLeft");
        QTest::newRow("Latin") << QStringLiteral("Move two matches.") << QList<bool>{false};
        QTest::newRow("Hebrew") << QStringLiteral("הזיזו שני גפרורים.") << QList<bool>{true};
        QTest::newRow("one of each")
            << QStringLiteral("הזיזו שני גפרורים.\nMove two matches!\n(Hint: the cup.)")
            << QList<bool>{true, false, false};
        QTest::newRow("digits first, then Hebrew")
            << QStringLiteral("2 גפרורים, no more.") << QList<bool>{true};
        QTest::newRow("digits first, then Latin")
            << QStringLiteral("2 matches, לא יותר.") << QList<bool>{false};
    }
    void paragraphsReadInTheirOwnDirection() {
        QFETCH(QString, text);
        QFETCH(QList<bool>, rightToLeft);
        RiddleDocument doc;
        TaskPane view(&doc);
        view.resize(500, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        doc.textDocument()->setPlainText(text);
        view.OnInitialUpdate();
        QCOMPARE(BlocksNotRightAligned(doc.textDocument()), QList<int>());

        QTextDocument printed;
        printed.setPlainText(text);
        FormatRiddleParagraphs(&printed, QTextOption::WordWrap);
        printed.setTextWidth(500);

        for (QTextDocument* laidOut : {doc.textDocument(), &printed}) {
            const qreal width = laidOut->textWidth() - 2 * laidOut->documentMargin();
            int i = 0;
            for (QTextBlock b = laidOut->begin(); b.isValid(); b = b.next(), ++i) {
                QCOMPARE(b.textDirection(),
                         rightToLeft.value(i) ? Qt::RightToLeft : Qt::LeftToRight);
                laidOut->documentLayout()->blockBoundingRect(b);  // laid out now
                const QTextLine line = b.layout()->lineAt(0);
                QVERIFY(line.isValid());
                // Flush right in either direction: the text's left edge lies
                // its own width short of the right edge.
                const int last = int(b.text().size()) - 1;
                const qreal firstX = line.cursorToX(0);
                const qreal markX = line.cursorToX(last);
                qreal left = width;
                for (int at = 0; at <= last + 1; ++at) {
                    left = qMin(left, line.cursorToX(at));
                }
                const qreal right = left + line.naturalTextWidth();
                QVERIFY2(qAbs(right - width) < 2.0,
                         qPrintable(QStringLiteral("ends at %1 of %2").arg(right).arg(width)));
                // The closing mark stands on the side the paragraph ends.
                QVERIFY2(rightToLeft.value(i) ? markX < firstX : markX > firstX,
                         qPrintable(QStringLiteral("block %1: first at %2, mark at %3")
                                        .arg(i)
                                        .arg(firstX)
                                        .arg(markX)));
            }
        }
    }

    void newAndOpenLeaveNothingToUndo() {
        RiddleDocument doc;
        TaskPane view(&doc);
        view.show();
        QTest::keyClicks(&view, "typed");
        QVERIFY(view.CanUndo());
        doc.newRiddle();
        QVERIFY(!view.CanUndo());
        QVERIFY(!doc.isModified());
        QCOMPARE(doc.plainText(), QString());
        QCOMPARE(BlocksNotRightAligned(doc.textDocument()), QList<int>());
    }

    void pastedFormattingBecomesPlainText() {
        RiddleDocument doc;
        TaskPane view(&doc);
        view.OnInitialUpdate();
        auto* mime = new QMimeData;
        mime->setHtml(QStringLiteral("<p align=left><b><i>bold</i></b></p><p>next</p>"));
        mime->setText(QStringLiteral("bold\nnext"));
        QApplication::clipboard()->setMimeData(mime);
        view.paste();
        QCOMPARE(doc.plainText(), QStringLiteral("bold\nnext"));
        for (QTextBlock b = doc.textDocument()->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                QVERIFY(it.fragment().charFormat().fontWeight() != QFont::Bold);
                QVERIFY(!it.fragment().charFormat().fontItalic());
            }
        }
        QCOMPARE(BlocksNotRightAligned(doc.textDocument()), QList<int>());
    }

    // Files dragged over the pane are for the window to open; text, links
    // in it included, goes into the riddle's text.
    void takesTextButNotFiles_data() {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        const QUrl file = QUrl::fromLocalFile(QStringLiteral("/tmp/cup.vrl"));
        const QUrl link(QStringLiteral("https://www.vorlo.test/cup.vrl"));
        QTest::newRow("text") << QList<QUrl>{} << QStringLiteral("שלום") << true;
        QTest::newRow("a link with its text") << QList<QUrl>{link} << link.toString() << true;
        QTest::newRow("a bare link") << QList<QUrl>{link} << QString() << false;
        QTest::newRow("a file") << QList<QUrl>{file} << QString() << false;
        QTest::newRow("a file with its path as text")
            << QList<QUrl>{file} << file.toLocalFile() << false;
    }
    void takesTextButNotFiles() {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(bool, taken);
        RiddleDocument doc;
        TaskPane view(&doc);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QMimeData data;
        if (!urls.isEmpty()) {
            data.setUrls(urls);
        }
        if (!text.isNull()) {
            data.setText(text);
        }
        QDragEnterEvent enter(view.viewport()->rect().center(), Qt::CopyAction, &data,
                              Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &enter);
        QCOMPARE(enter.isAccepted(), taken);
        QDragLeaveEvent leave;
        QApplication::sendEvent(view.viewport(), &leave);
    }

    // The pane and the document may go in either order: the pane lets go
    // of the text when the document goes, and a gone pane hears no more.
    void paneAndDocumentGoInEitherOrder_data() {
        QTest::addColumn<bool>("documentFirst");
        QTest::newRow("document first") << true;
        QTest::newRow("pane first") << false;
    }
    void paneAndDocumentGoInEitherOrder() {
        QFETCH(bool, documentFirst);
        auto doc = std::make_unique<RiddleDocument>();
        auto view = std::make_unique<TaskPane>(doc.get());
        view->show();
        QTest::keyClicks(view.get(), QStringLiteral("ab"));
        QCOMPARE(doc->plainText(), QStringLiteral("ab"));
        if (documentFirst) {
            doc.reset();
            QTest::keyClicks(view.get(), QStringLiteral("cd"));
            QCOMPARE(view->toPlainText(), QStringLiteral("cd"));
            view.reset();
        } else {
            view.reset();
            emit doc->boardChanged(vorlo::BoardChange{});
            emit doc->contentsChanged();
            QVERIFY(doc->newRiddle());
            QCOMPARE(doc->plainText(), QString());
        }
    }

    void boardChangesLeaveTheTextAlone() {
        RiddleDocument doc;
        TaskPane view(&doc);
        doc.textDocument()->setPlainText(QStringLiteral("text"));
        view.OnInitialUpdate();
        const QTextCursor before = view.textCursor();
        emit doc.boardChanged(vorlo::BoardChange{});
        emit doc.contentsChanged();
        QCOMPARE(view.textCursor().position(), before.position());
        QCOMPARE(doc.plainText(), QStringLiteral("text"));
        QVERIFY(!doc.isModified());
    }

    // A hostile file's text opens in the pane, is painted, and saves back
    // byte for byte. A word of megabytes is wrapped anywhere (the
    // word-or-anywhere wrap took half an hour for it); ordinary text keeps
    // its word wrap, however many lines it has.
    void longTextsOpenAndSaveUnchanged_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wrap");
        const auto anywhere = int(QTextOption::WrapAnywhere);
        const auto words = int(QTextOption::WrapAtWordBoundaryOrAnywhere);
        QTest::newRow("1,000 letters") << QString(1000, u'a') << words;
        QTest::newRow("1,001 letters") << QString(1001, u'a') << anywhere;
        QTest::newRow("2 MB one word") << QString(2 << 20, u'a') << anywhere;
        QTest::newRow("2 MB one Hebrew word") << QString(2 << 20, QChar(0x05D0)) << anywhere;
        QTest::newRow("300,000 lines")
            << QStringLiteral("שורה line\n").repeated(300000).chopped(1) << words;
    }
    void longTextsOpenAndSaveUnchanged() {
        QFETCH(QString, text);
        QFETCH(int, wrap);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString in = dir.filePath(QStringLiteral("long.vrl"));
        const std::string bytes = vorlo::SerializeRiddle(vorlo::MatchList(), text.toStdString());
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
        file.close();

        RiddleDocument doc;
        TaskPane view(&doc);
        view.resize(400, 120);
        view.show();
        QString error;
        QVERIFY2(doc.open(in, &error), qPrintable(error));
        QCOMPARE(int(view.wordWrapMode()), wrap);
        QCOMPARE(int(doc.textDocument()->defaultTextOption().wrapMode()), wrap);
        QVERIFY(!view.grab().isNull());  // lays out and paints what shows
        QVERIFY(!doc.isModified());

        const QString out = dir.filePath(QStringLiteral("saved.vrl"));
        QVERIFY2(doc.save(out, &error), qPrintable(error));
        QFile saved(out);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == QByteArray::fromStdString(bytes));

        // A new riddle goes back to the word wrap.
        doc.newRiddle();
        QCOMPARE(int(view.wordWrapMode()), int(QTextOption::WrapAtWordBoundaryOrAnywhere));
    }

    void pastingAWordOfMegabytesWrapsAnywhere() {
        RiddleDocument doc;
        TaskPane view(&doc);
        view.OnInitialUpdate();
        auto* mime = new QMimeData;
        mime->setText(QString(1 << 20, u'b'));
        QApplication::clipboard()->setMimeData(mime);
        view.paste();
        QCOMPARE(int(view.wordWrapMode()), int(QTextOption::WrapAnywhere));
        QCOMPARE(doc.plainText().size(), 1 << 20);
        QVERIFY(!view.grab().isNull());
    }
};

QTEST_MAIN(TestTaskPane)
#include "test_task_pane.moc"
