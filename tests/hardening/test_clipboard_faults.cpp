// SPDX-License-Identifier: GPL-3.0-or-later
// Paste with whatever another program put on the clipboard under the match
// type: nothing, a few bytes, far more than a match, random bytes. Paste reads
// at most the first 12 bytes and never past what it was given (each block
// lies in a heap buffer of exactly its size, so AddressSanitizer sees any read
// beyond it); fewer than 12 bytes change nothing; on the clipboard only the
// first 12 bytes are replaced, and the rest is kept as it was.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTest>

#include <cstring>
#include <memory>

#include "board_editor.h"
#include "main_window.h"
#include "riddle_document.h"
#include "board_view.h"

using namespace vorlo;

namespace {

struct Host : BoardHost {
    void setModified() override {}
    void UpdateAllViews(int32_t) override {}
};

QByteArray RandomBytes(QRandomGenerator& random, qsizetype size) {
    QByteArray bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random.bounded(256));
    }
    return bytes;
}

Match Expected(const QByteArray& bytes) {
    int32_t v[3];
    std::memcpy(v, bytes.constData(), sizeof v);  // little-endian host
    return Match(static_cast<int32_t>(static_cast<uint32_t>(v[0]) + 5u),
                  static_cast<int32_t>(static_cast<uint32_t>(v[1]) + 5u), v[2]);
}

}  // namespace

class TestClipboardFaults : public QObject {
    Q_OBJECT

private:
    // Blocks of every troublesome size, the same for every run.
    static QList<QByteArray> Blocks() {
        QRandomGenerator random(99);
        QList<QByteArray> blocks;
        for (qsizetype size = 0; size <= 25; ++size) {
            blocks << RandomBytes(random, size);
        }
        blocks << RandomBytes(random, 4096) << RandomBytes(random, 1 << 20);
        for (int i = 0; i < 100; ++i) {
            blocks << RandomBytes(random, random.bounded(40));
        }
        return blocks;
    }

private slots:
    void editorReadsOnlyTheFirstTwelveBytes() {
        RiddleState doc;
        Host host;
        BoardEditor editor(doc, host);
        for (const QByteArray& block : Blocks()) {
            // Exactly the block's size on the heap: a read past it is caught.
            const auto size = static_cast<size_t>(block.size());
            std::unique_ptr<uint8_t[]> exact(new uint8_t[size == 0 ? 1 : size]);
            std::memcpy(exact.get(), block.constData(), size);
            const size_t before = doc.MatchList.Count();
            const std::optional<MatchBlock> next = editor.OnEditPaste({exact.get(), size});
            if (size < kMatchRecordSize) {
                QVERIFY(!next);
                QCOMPARE(doc.MatchList.Count(), before);
                continue;
            }
            QVERIFY(next);
            QCOMPARE(doc.MatchList.Count(), before + 1);
            QCOMPARE(*doc.MatchList.Last(), Expected(block));
            QCOMPARE(DecodeMatchBlock(*next), Expected(block));
            // The given bytes themselves are left alone.
            QVERIFY(std::memcmp(exact.get(), block.constData(), size) == 0);
        }
    }

    void viewPastesFromTheClipboard() {
        MainWindow frame;
        frame.ShowError = [](const QString& m) { QFAIL(qPrintable(m)); };
        frame.show();
        BoardView* view = frame.boardView();
        RiddleDocument* doc = frame.riddleDocument();
        QClipboard* clipboard = QApplication::clipboard();
        const QString type = BoardView::MatchMimeType();
        for (const QByteArray& block : Blocks()) {
            auto* data = new QMimeData;
            data->setData(type, block);
            clipboard->setMimeData(data);
            const size_t before = doc->MatchList.Count();
            view->paste();
            const QByteArray after = clipboard->mimeData()->data(type);
            if (block.size() < qsizetype(kMatchRecordSize)) {
                QCOMPARE(doc->MatchList.Count(), before);
                QCOMPARE(after, block);
                continue;
            }
            QCOMPARE(doc->MatchList.Count(), before + 1);
            QCOMPARE(*doc->MatchList.Last(), Expected(block));
            QCOMPARE(after.size(), block.size());
            QCOMPARE(after.mid(12), block.mid(12));
            const MatchBlock written = EncodeMatchBlock(Expected(block));
            QCOMPARE(after.left(12), QByteArray(reinterpret_cast<const char*>(written.data()), 12));
        }
        // Other formats are not ours: nothing happens.
        auto* text = new QMimeData;
        text->setText(QStringLiteral("100,200,30"));
        clipboard->setMimeData(text);
        const size_t before = doc->MatchList.Count();
        view->paste();
        QCOMPARE(doc->MatchList.Count(), before);
        doc->setModified(false);
    }
};

QTEST_MAIN(TestClipboardFaults)
#include "test_clipboard_faults.moc"
