// SPDX-License-Identifier: GPL-3.0-or-later
// The window in Hebrew: right to left around a board that is not mirrored,
// the same shortcuts as in English, and the choice of language kept.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QToolBar>
#include <QTranslator>

#include <map>
#include <utility>

#include "board_view.h"
#include "file_commands.h"
#include "interface_language.h"
#include "print_commands.h"
#include "recording_window.h"
#include "settings_store.h"

namespace {

// What must not depend on the language: each command's shortcuts, whether
// its text has a mnemonic, and what the board shows and hits at a point.
struct Observed {
    std::map<QString, QList<QKeySequence>> shortcuts;
    std::map<QString, bool> mnemonic;
    QStringList menuTitles;
    QStringList mnemonicFaults;
    QStringList degreeSigns;  // command texts that show an angle with "°"
    bool hitSelects = false;
    bool yellowAtStick = false;
    Qt::LayoutDirection window = Qt::LeftToRight;
    Qt::LayoutDirection board = Qt::LeftToRight;
    int boardLeft = 0;  // where the board column starts in the window
};

bool HasMnemonic(const QString& text) {
    return QString(text).remove(QStringLiteral("&&")).contains(u'&');
}

// The key after the "&" of `text`, lower case; none without one.
QChar MnemonicOf(const QString& text) {
    const QString plain = QString(text).remove(QStringLiteral("&&"));
    const qsizetype at = plain.indexOf(u'&');
    return at >= 0 && at + 1 < plain.size() ? plain.at(at + 1).toLower() : QChar();
}

// Each menu's mnemonics (the menu bar's titles count as one more menu): in
// both languages Latin letters that a Latin keyboard layout types, and never
// two alike in one menu. Returns what is wrong, empty when all is well.
QStringList MnemonicFaults(MainWindow* frame) {
    QStringList faults;
    QList<QStringList> menus;
    QStringList titles;
    for (QMenu* menu : frame->Menus()) {
        titles << menu->title();
        QStringList items;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isVisible()) {
                items << action->text();
            }
        }
        menus << items;
    }
    menus << titles;
    for (const QStringList& texts : menus) {
        QString seen;
        for (const QString& text : texts) {
            const QChar key = MnemonicOf(text);
            if (key.isNull()) {
                continue;
            }
            if (key.unicode() > 0x7f || !key.isLetterOrNumber()) {
                faults << QStringLiteral("not on a Latin layout: ") + text;
            } else if (seen.contains(key)) {
                faults << QStringLiteral("mnemonic used twice: ") + text;
            }
            seen += key;
        }
    }
    return faults;
}

Observed Observe(RecordingFrame& recording) {
    Observed seen;
    MainWindow* frame = recording.frame.get();
    for (const vorlo::Command& command : vorlo::Commands()) {
        const QAction* action = frame->Action(command.id);
        seen.shortcuts[action->objectName()] = action->shortcuts();
        seen.mnemonic[action->objectName()] = HasMnemonic(action->text());
        for (const QString& text : {action->text(), action->toolTip(), action->statusTip()}) {
            if (text.contains(QChar(0x00b0))) {
                seen.degreeSigns << text;
            }
        }
    }
    for (QMenu* menu : frame->Menus()) {
        seen.menuTitles << menu->title();
    }
    seen.mnemonicFaults = MnemonicFaults(frame);
    BoardView* board = frame->boardView();
    seen.window = frame->layoutDirection();
    seen.board = board->layoutDirection();
    seen.boardLeft = board->mapTo(frame, QPoint(0, 0)).x();
    RiddleDocument* doc = frame->riddleDocument();
    doc->MatchList.Append(vorlo::Match(150, 100, 0));  // the stick runs right from x 150
    emit doc->boardChanged(vorlo::BoardChange{});
    emit doc->contentsChanged();
    board->horizontalScrollBar()->setValue(0);
    board->verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    const QImage image = board->viewport()->grab().toImage();
    const QColor c = image.pixelColor(170, 100);
    seen.yellowAtStick = c.red() > 200 && c.green() > 150 && c.blue() < 80;
    QTest::mouseClick(board->viewport(), Qt::LeftButton, {}, QPoint(170, 100));
    seen.hitSelects = static_cast<bool>(doc->SelectedMatch);
    return seen;
}

// The dark pixels of `image` between columns `from` and `to` (the writing,
// not the frame), cut to their bounding box, as a picture of black and white.
QImage DarkPart(const QImage& image, int from, int to) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = from; x < to; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    QImage part(box.size(), QImage::Format_Mono);
    part.fill(0);
    for (int y = 0; y < box.height(); ++y) {
        for (int x = 0; x < box.width(); ++x) {
            part.setPixel(x, y, qGray(image.pixel(box.x() + x, box.y() + y)) < 128 ? 1 : 0);
        }
    }
    return part;
}

// A one-entry menu with the shortcut `keys` and a blank text, drawn in
// `direction`: the shortcut's pixels.
QImage DrawnShortcut(Qt::LayoutDirection direction, const QKeySequence& keys) {
    QMenu menu;
    menu.setLayoutDirection(direction);
    QAction* action = menu.addAction(QStringLiteral(" "));
    action->setShortcut(keys);
    menu.adjustSize();
    const QImage image = menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return DarkPart(image, 0, image.width());
}

// Whether two pictures from DarkPart show the same writing, allowing for the
// pixel by which text drawn at another fraction of a pixel may differ: every
// dark pixel of one has a dark pixel of the other beside it.
bool SameWriting(const QImage& a, const QImage& b) {
    if (a.isNull() || b.isNull() || a.height() != b.height() || qAbs(a.width() - b.width()) > 1) {
        return false;
    }
    auto covered = [](const QImage& from, const QImage& in) {
        for (int y = 0; y < from.height(); ++y) {
            for (int x = 0; x < from.width(); ++x) {
                if (from.pixelIndex(x, y) == 0) {
                    continue;
                }
                bool near = false;
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int at = x + dx;
                    near = at >= 0 && at < in.width() && in.pixelIndex(at, y) == 1;
                }
                if (!near) {
                    return false;
                }
            }
        }
        return true;
    };
    return covered(a, b) && covered(b, a);
}

// Laid out as a right-to-left paragraph, whether `text` shows the two
// characters before `after` between the character at `mark` and `after`: how
// "?" and "/tmp" read when the path is kept apart, "/" to the left of "tmp"
// and "?" left of both. (The edges of the first character of a run are not
// used: Qt gives them at the run's boundary.)
bool DrawnBetween(const QString& text, int mark, int after) {
    QTextLayout layout(text);
    QTextOption option;
    option.setTextDirection(Qt::RightToLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(100000);
    layout.endLayout();
    auto edges = [&line](int index) {
        int at = index;
        const qreal a = line.cursorToX(&at, QTextLine::Leading);
        at = index;
        const qreal b = line.cursorToX(&at, QTextLine::Trailing);
        return std::pair(qMin(a, b), qMax(a, b));
    };
    const qreal gap = edges(after).first - edges(mark).second;
    const qreal between = QFontMetricsF(layout.font()).horizontalAdvance(text.mid(after - 2, 2));
    return gap > between - 1;
}

// A temporary copy of the sample cup, opened in `frame` and changed.
bool OpenChangedCup(MainWindow* frame, const QString& path) {
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(VORLO_SOURCE_DIR "/resources/samples/riddle1.vrl"), path) ||
        !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner) ||
        !frame->Files().OpenDocumentFile(path)) {
        return false;
    }
    frame->riddleDocument()->setModified(true);
    return true;
}

}  // namespace

class TestLanguageWindow : public QObject {
    Q_OBJECT

private slots:
    void hebrewWindowMirrorsAllButTheBoard() {
        RecordingFrame english;
        QVERIFY(english.Make());
        const Observed en = Observe(english);
        english.Reset();
        QCOMPARE(en.window, Qt::LeftToRight);
        QVERIFY(en.hitSelects);
        QVERIFY(en.yellowAtStick);

        if (!vorlo::InstallHebrewTranslations(qApp)) {
            QFAIL("the Hebrew translation is not built into the program");
        }
        QApplication::setLayoutDirection(Qt::RightToLeft);
        RecordingFrame hebrew;
        QVERIFY(hebrew.Make());
        const Observed he = Observe(hebrew);
        hebrew.Reset();
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QApplication::setLayoutDirection(Qt::LeftToRight);

        QCOMPARE(he.window, Qt::RightToLeft);
        // Each mnemonic is the English one's Latin letter, so the menus open
        // from a Latin keyboard layout as from a Hebrew one.
        QCOMPARE(he.menuTitles.value(0), QStringLiteral("קובץ (&F)"));
        QCOMPARE(he.menuTitles.value(5), QStringLiteral("עזרה (&H)"));
        QCOMPARE(en.mnemonicFaults, QStringList());
        QCOMPARE(he.mnemonicFaults, QStringList());
        // An angle is said in words ("90 מעלות"), never with a sign beside them.
        QCOMPARE(he.degreeSigns, QStringList());
        // The board column lies left of the information column in English
        // and right of it in Hebrew; the board inside is the file's picture.
        QVERIFY(he.boardLeft < en.boardLeft);
        QCOMPARE(he.board, Qt::LeftToRight);
        QVERIFY(he.yellowAtStick);
        QVERIFY(he.hitSelects);
        QCOMPARE(he.shortcuts, en.shortcuts);
        QCOMPARE(he.mnemonic, en.mnemonic);
    }

    // Right to left, a shortcut still reads left to right: "Ctrl++" and
    // "Ctrl+-" are drawn as in English, never as "++Ctrl".
    void shortcutsReadLeftToRight_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Ctrl++") << QKeySequence(Qt::CTRL | Qt::Key_Plus);
        QTest::newRow("Ctrl+-") << QKeySequence(Qt::CTRL | Qt::Key_Minus);
        QTest::newRow("Ctrl+Shift+S") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("Shift+Tab") << QKeySequence(Qt::SHIFT | Qt::Key_Tab);
    }
    void shortcutsReadLeftToRight() {
        QFETCH(QKeySequence, keys);
        const QImage english = DrawnShortcut(Qt::LeftToRight, keys);
        const QImage hebrew = DrawnShortcut(Qt::RightToLeft, keys);
        QVERIFY(!english.isNull());
        QVERIFY(SameWriting(hebrew, english));
        // And the check can tell: the keys the other way round differ.
        const QKeySequence reversed =
            QKeySequence::fromString(keys.toString().split(u'+').mid(1).join(u'+') + u'+' +
                                     keys.toString().section(u'+', 0, 0));
        QVERIFY(!SameWriting(DrawnShortcut(Qt::RightToLeft, reversed), english));
    }

    // The Hebrew questions about a riddle: its path stands apart from the
    // sentence (its first slash stays at its left, the question mark outside
    // it), and the button that drops the changes says so.
    void hebrewQuestionsKeepPathsApart() {
        if (!vorlo::InstallHebrewTranslations(qApp)) {
            QFAIL("the Hebrew translation is not built into the program");
        }
        QApplication::setLayoutDirection(Qt::RightToLeft);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        RecordingFrame hebrew;
        QVERIFY(hebrew.Make());
        MainWindow* frame = hebrew.frame.get();
        QStringList asked;
        frame->ConfirmRevert = [&asked](const QString& q) {
            asked << q;
            return false;
        };
        const QString path = dir.filePath(QStringLiteral("cup.vrl"));
        QVERIFY(OpenChangedCup(frame, path));
        QVERIFY(!frame->Files().SaveModified());  // the recording answers Cancel
        QVERIFY(!frame->Files().OnFileRevert());
        asked.prepend(hebrew.prompts.value(0));

        const std::unique_ptr<QMessageBox> box =
            FileCommands::MakeSaveQuestion(nullptr, asked.first());
        const QString discard = box->button(QMessageBox::Discard)->text();
        hebrew.Reset();
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QApplication::setLayoutDirection(Qt::LeftToRight);

        QCOMPARE(discard, QStringLiteral("אל תשמור"));
        QCOMPARE(asked.size(), 2);
        const QString isolated = QChar(0x2066) + path + QChar(0x2069);
        for (const QString& question : asked) {
            const QString first = question.section(u'\n', 0, 0);
            QVERIFY2(first.contains(isolated), qPrintable(first));
            const int slash = int(first.indexOf(isolated)) + 1;
            const int mark = int(first.indexOf(u'?', slash));
            QVERIFY2(mark > slash, qPrintable(first));
            // Left to right inside: from the question mark on the left, the
            // first slash, "t", then "m".
            QVERIFY2(DrawnBetween(first, mark, slash + 2), qPrintable(first));
        }
    }

    // Right to left, the preview's first-page button stands at the right and
    // its arrow points right; left to right the toolkit's arrows are kept.
    void previewArrowsPointWhereTheyGo() {
        const char* const names[] = {"First page", "Previous page", "Next page", "Last page"};
        auto icons = [&names](QPrintPreviewDialog& dialog) {
            QList<qint64> keys;
            for (const char* name : names) {
                qint64 key = -1;
                for (QAction* action : dialog.findChildren<QAction*>()) {
                    if (action->text() == QLatin1String(name)) {
                        key = action->icon().cacheKey();
                    }
                }
                keys << key;
            }
            return keys;
        };
        QPrinter printer;
        QPrintPreviewDialog english(&printer);
        const QList<qint64> drawn = icons(english);
        QVERIFY(!drawn.contains(-1));
        QVERIFY(drawn[0] != drawn[3] && drawn[1] != drawn[2]);
        PrintCommands::PointPageArrowsWithLayout(english);
        QCOMPARE(icons(english), drawn);

        QPrintPreviewDialog hebrew(&printer);
        hebrew.setLayoutDirection(Qt::RightToLeft);
        const QList<qint64> before = icons(hebrew);
        PrintCommands::PointPageArrowsWithLayout(hebrew);
        QCOMPARE(icons(hebrew), (QList<qint64>{before[3], before[2], before[1], before[0]}));
    }

    void languageChoiceIsKeptForTheNextStart() {
        RecordingFrame recording;
        QVERIFY(recording.Make());
        QStringList notices;
        recording.frame->ShowNotice = [&notices](const QString& m) { notices << m; };
        QMenu* menu = recording.frame->LanguageMenu();
        QVERIFY(menu);
        // In the View menu, beside the toolbar and status bar toggles.
        QMenu* view = recording.frame->Menus().at(4);
        QCOMPARE(view->title(), QStringLiteral("&View"));
        QVERIFY(view->actions().contains(menu->menuAction()));
        QAction* system = nullptr;
        QAction* hebrew = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->objectName() == u"Language_system") {
                system = a;
            } else if (a->objectName() == u"Language_he") {
                hebrew = a;
            }
        }
        QVERIFY(system && hebrew);
        QVERIFY(system->isChecked());
        for (QAction* a : menu->actions()) {
            QVERIFY2(HasMnemonic(a->text()), qPrintable(a->text()));
        }

        hebrew->trigger();
        QCOMPARE(notices.size(), 1);
        QCOMPARE(vorlo::StoredLanguage(vorlo::SettingsStore()), vorlo::InterfaceLanguage::Hebrew);
        // The window keeps its language until the next start; the menu shows the choice.
        QCOMPARE(recording.frame->Menus().at(0)->title(), QStringLiteral("&File"));
        recording.Reset();
        QVERIFY(recording.Make());
        bool checked = false;
        for (QAction* a : recording.frame->LanguageMenu()->actions()) {
            if (a->objectName() == u"Language_he") {
                checked = a->isChecked();
            }
        }
        QVERIFY(checked);
        recording.Reset();
    }
};

QTEST_MAIN(TestLanguageWindow)
#include "test_language_window.moc"
