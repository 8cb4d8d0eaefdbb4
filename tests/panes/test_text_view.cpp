// The riddle text pane: right to left and right-aligned whatever comes in,
// plain text only, a fresh history after New and Open.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "text_view.h"
#include "vorlo_doc.h"

namespace {

// Which blocks are not laid out right-aligned and right to left.
QList<int> BlocksNotRightAligned(QTextDocument* text) {
    QList<int> wrong;
    int i = 0;
    for (QTextBlock b = text->begin(); b.isValid(); b = b.next(), ++i) {
        const QTextBlockFormat f = b.blockFormat();
        if (!(f.alignment() & Qt::AlignRight) || f.layoutDirection() != Qt::RightToLeft) {
            wrong << i;
        }
    }
    return wrong;
}

}  // namespace

class TestTextView : public QObject {
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
        CVorloDoc doc;
        CTextView view(&doc);
        doc.Text()->setPlainText(text);
        view.OnInitialUpdate();
        QCOMPARE(BlocksNotRightAligned(doc.Text()), QList<int>());
        QVERIFY(!doc.IsModified());
        QVERIFY(!doc.Text()->isUndoAvailable());

        // What is typed after it, new paragraphs included, is aligned too.
        view.show();
        view.moveCursor(QTextCursor::End);
        QTest::keyClicks(&view, "ab");
        QTest::keyClick(&view, Qt::Key_Return);
        QTest::keyClicks(&view, "cd");
        QCOMPARE(BlocksNotRightAligned(doc.Text()), QList<int>());
        QVERIFY(doc.IsModified());
    }

    void newAndOpenLeaveNothingToUndo() {
        CVorloDoc doc;
        CTextView view(&doc);
        view.show();
        QTest::keyClicks(&view, "typed");
        QVERIFY(view.CanUndo());
        doc.OnNewDocument();
        QVERIFY(!view.CanUndo());
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.PlainText(), QString());
        QCOMPARE(BlocksNotRightAligned(doc.Text()), QList<int>());
    }

    void pastedFormattingBecomesPlainText() {
        CVorloDoc doc;
        CTextView view(&doc);
        view.OnInitialUpdate();
        auto* mime = new QMimeData;
        mime->setHtml(QStringLiteral("<p align=left><b><i>bold</i></b></p><p>next</p>"));
        mime->setText(QStringLiteral("bold\nnext"));
        QApplication::clipboard()->setMimeData(mime);
        view.paste();
        QCOMPARE(doc.PlainText(), QStringLiteral("bold\nnext"));
        for (QTextBlock b = doc.Text()->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                QVERIFY(it.fragment().charFormat().fontWeight() != QFont::Bold);
                QVERIFY(!it.fragment().charFormat().fontItalic());
            }
        }
        QCOMPARE(BlocksNotRightAligned(doc.Text()), QList<int>());
    }

    void boardChangesLeaveTheTextAlone() {
        CVorloDoc doc;
        CTextView view(&doc);
        doc.Text()->setPlainText(QStringLiteral("text"));
        view.OnInitialUpdate();
        const QTextCursor before = view.textCursor();
        doc.UpdateAllViews(vorlo::HintBoardChanged);
        QCOMPARE(view.textCursor().position(), before.position());
        QCOMPARE(doc.PlainText(), QStringLiteral("text"));
        QVERIFY(!doc.IsModified());
    }
};

QTEST_MAIN(TestTextView)
#include "test_text_view.moc"
