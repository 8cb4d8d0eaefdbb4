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
        // The board column lies left of the information column in English
        // and right of it in Hebrew; the board inside is the file's picture.
        QVERIFY(he.boardLeft < en.boardLeft);
        QCOMPARE(he.board, Qt::LeftToRight);
        QVERIFY(he.yellowAtStick);
        QVERIFY(he.hitSelects);
        QCOMPARE(he.shortcuts, en.shortcuts);
        QCOMPARE(he.mnemonic, en.mnemonic);
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
