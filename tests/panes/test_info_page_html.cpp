// SPDX-License-Identifier: GPL-3.0-or-later
// The installed information page in the pane's narrow column (140 pixels at
// first), on a light and on a dark palette: readable on both, laid out for
// the column, and the file extension ".vrl" shown in one piece inside the
// Hebrew text.
//
// Set VORLO_PAGE_SHOTS to a folder to keep a PNG of each rendering.

#include <QFile>
#include <QGlyphRun>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QtTest>

namespace {

const int kPaneWidth = 140;

QString InstalledPage() {
    QFile file(QStringLiteral(VORLO_SOURCE_DIR "/resources/vorlo_heb.html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Link, QColor(120, 170, 255));
    return dark;
}

}  // namespace

class TestInfoPageHtml : public QObject {
    Q_OBJECT

private slots:
    void readableInTheNarrowColumn_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light palette") << false;
        QTest::newRow("dark palette") << true;
    }

    void readableInTheNarrowColumn() {
        QFETCH(bool, dark);
        const QString html = InstalledPage();
        QVERIFY(!html.isEmpty());
        QTextBrowser pane;
        pane.setPalette(dark ? DarkPalette() : QPalette());
        pane.resize(kPaneWidth, 560);
        pane.setHtml(html);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        const QString shots = qEnvironmentVariable("VORLO_PAGE_SHOTS");
        if (!shots.isEmpty()) {
            QVERIFY(pane.grab().save(shots + (dark ? QStringLiteral("/page-dark.png")
                                                   : QStringLiteral("/page-light.png"))));
            pane.verticalScrollBar()->setValue(pane.verticalScrollBar()->maximum());
            QVERIFY(pane.grab().save(shots + (dark ? QStringLiteral("/page-dark-end.png")
                                                   : QStringLiteral("/page-light-end.png"))));
            pane.verticalScrollBar()->setValue(0);
        }

        const QColor text = pane.palette().color(QPalette::Text);
        int lines = 0;
        for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next()) {
            const QString where = QStringLiteral("block \"%1\"").arg(block.text());
            // Colours come from the palette: a colour of the page's own is
            // lost on one scheme or the other.
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                QVERIFY2(format.foreground().style() == Qt::NoBrush ||
                             format.foreground().color() == text,
                         qPrintable(where + QStringLiteral(" has its own colour ") +
                                    format.foreground().color().name()));
                QVERIFY2(format.background().style() == Qt::NoBrush, qPrintable(where));
            }
            QVERIFY2(block.blockFormat().background().style() == Qt::NoBrush, qPrintable(where));
            // Every pixel of the column goes to the text.
            QVERIFY2(!block.textList(), qPrintable(where + QStringLiteral(" is a list item")));
            QCOMPARE(block.blockFormat().indent(), 0);
            QCOMPARE(block.blockFormat().leftMargin(), 0.0);
            QCOMPARE(block.blockFormat().rightMargin(), 0.0);
            QCOMPARE(block.blockFormat().textIndent(), 0.0);
            // Only the last line of a paragraph may hold a single word.
            const QTextLayout* layout = block.layout();
            for (int i = 0; i + 1 < layout->lineCount(); ++i, ++lines) {
                const QTextLine line = layout->lineAt(i);
                const QString words =
                    block.text().mid(line.textStart(), line.textLength()).trimmed();
                QVERIFY2(words.contains(u' '),
                         qPrintable(where + QStringLiteral(": a line of one word, ") + words));
            }
        }
        QVERIFY(lines > 0);
        // The text fits the column: no sideways scrolling.
        QVERIFY(!pane.horizontalScrollBar()->isVisible());

        // ".vrl" inside the Hebrew sentence stays ".vrl" on the screen: its
        // letters run left to right with the dot on their left.
        const QTextBlock block = pane.document()->find(QStringLiteral(".vrl")).block();
        QVERIFY(block.isValid());
        const int at = block.text().indexOf(QStringLiteral(".vrl"));
        const QTextLine line = block.layout()->lineForTextPosition(at);
        const auto mid = [&](int position) {  // the middle of the character at `position`
            const QList<QGlyphRun> runs = line.glyphRuns(position, 1);
            return runs.isEmpty() ? -1.0 : runs.first().boundingRect().center().x();
        };
        QVERIFY2(mid(at) >= 0 && mid(at) < mid(at + 1) && mid(at + 1) < mid(at + 2) &&
                     mid(at + 2) < mid(at + 3),
                 qPrintable(QStringLiteral("'.' %1, 'v' %2, 'r' %3, 'l' %4")
                                .arg(mid(at))
                                .arg(mid(at + 1))
                                .arg(mid(at + 2))
                                .arg(mid(at + 3))));
    }
};

QTEST_MAIN(TestInfoPageHtml)
#include "test_info_page_html.moc"
