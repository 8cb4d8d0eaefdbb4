// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <tuple>

#include "about_dialog.h"
#include "app_icon.h"
#include "button_label_style.h"
#include "dialog_controls.h"
#include "instructions_dialog.h"
#include "interface_language.h"
#include "intro_dialog.h"
#include "settings_store.h"

using namespace vorlo;

namespace {

// What a control should be: its name, kind and text.
struct Control {
    const char* name;
    const char* className;
    QString text;  // null: not compared
};

QString TextOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->text();
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        return edit->toPlainText();
    }
    return {};
}

// Compares the dialog's named controls, in creation (and so tab) order, with
// the table, and checks that each shows whole: as large as it asks to be,
// inside the dialog, and the dialog on the screen.
void CheckControls(QDialog& dialog, const QList<Control>& expected) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());  // not resizable
    QVERIFY(dialog.screen()->availableGeometry().size().expandedTo(dialog.frameSize()) ==
            dialog.screen()->availableGeometry().size());

    QList<QWidget*> controls;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_")) {
            controls.append(w);
        }
    }
    QCOMPARE(controls.size(), expected.size());
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QWidget* control = controls[i];
        const Control& want = expected[i];
        const QByteArray where = QByteArray::number(i + 1) + ": " + want.name;
        QCOMPARE(control->objectName(), QString::fromLatin1(want.name));
        QVERIFY2(control->inherits(want.className), where.constData());
        if (!want.text.isNull()) {
            QCOMPARE(TextOf(control), want.text);
        }
        QVERIFY2(control->isVisible(), where.constData());
        const QSize hint = control->sizeHint();
        QVERIFY2(control->width() >= hint.width() && control->height() >= hint.height(),
                 qPrintable(QStringLiteral("%1: %2x%3 shown, %4x%5 asked")
                                .arg(QString::fromLatin1(where))
                                .arg(control->width())
                                .arg(control->height())
                                .arg(hint.width())
                                .arg(hint.height())));
        const QRect inDialog(control->mapTo(&dialog, QPoint(0, 0)), control->size());
        QVERIFY2(dialog.rect().contains(inDialog), where.constData());
    }
}

// UTF-8 to Windows Hebrew with the C library's converter, independent of the
// program's own code page table.
QByteArray ToCp1255(const QString& text) {
    iconv_t cd = iconv_open("CP1255", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return "iconv_open failed";
    }
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 16, '\0');
    char* inPtr = in.data();
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || inLeft != 0) {
        return "iconv failed";
    }
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}

QByteArray StoredShow(SettingsStore& store) {
    if (!store.HasGroup(kIntroductionKey)) {
        return "no key";
    }
    const std::optional<bool> show = store.ShowIntroduction();
    return show ? QByteArray::number(*show ? 1 : 0) : QByteArray("no value");
}

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int stores_ = 0;
    QString NewStorePath() { return dir_.filePath(QStringLiteral("s%1.ini").arg(++stores_)); }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void aboutDialog() {
        AboutDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About vorlo"));
        QVERIFY(dialog.isModal());
        CheckControls(dialog, {
                                  {"icon", "QLabel", QString("")},
                                  {"version", "QLabel", "vorlo Version 1.1"},
                                  {"ownership", "QLabel", QString()},
                                  {"ok", "QPushButton", "OK"},
                                  {"rule", "QLabel", QString(33, u'_')},
                                  {"terms", "QLabel", QString()},
                                  {"web", "QLabel", QString()},
                              });
        QVERIFY(!dialog.findChild<QLabel*>("icon")->pixmap().isNull());
        // Top to bottom: version, ownership, web address, rule, terms.
        int above = -1;
        for (const char* name : {"version", "ownership", "web", "rule", "terms"}) {
            const int top = dialog.findChild<QLabel*>(name)->mapTo(&dialog, QPoint()).y();
            QVERIFY2(top > above, name);
            above = top;
        }
        QVERIFY(dialog.findChild<QPushButton*>()->isDefault());
        // The notices: one line, one line, three lines.
        for (const auto& [name, lines] :
             {std::pair{"ownership", 1}, std::pair{"web", 1}, std::pair{"terms", 3}}) {
            auto* label = dialog.findChild<QLabel*>(name);
            QVERIFY2(label && !label->text().isEmpty(), name);
            QCOMPARE(label->text().count(u'\n') + 1, lines);
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
    }

    // Read from right to left, each dialog is its own mirror image: every
    // control at the same height, as far from the right edge as it was from
    // the left (the icon, sized to its picture, only stays on its side).
    void rightToLeftDialogsAreMirrored() {
        vorlo::SettingsStore store(dir_.filePath(QStringLiteral("mirror.conf")));
        const auto geometries = [&store](int which) {
            std::unique_ptr<QDialog> dialog;
            if (which == 0) {
                dialog = std::make_unique<vorlo::AboutDialog>();
            } else if (which == 1) {
                dialog = std::make_unique<vorlo::InstructionsDialog>();
            } else {
                dialog = std::make_unique<vorlo::IntroDialog>(store);
            }
            dialog->show();  // lays the controls out
            QList<QPair<QString, QRect>> found;
            for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                found.append({control->objectName(), control->geometry()});
            }
            return QPair<int, QList<QPair<QString, QRect>>>(dialog->width(), found);
        };
        for (int which = 0; which < 3; ++which) {
            const auto ltr = geometries(which);
            QApplication::setLayoutDirection(Qt::RightToLeft);
            const auto rtl = geometries(which);
            QApplication::setLayoutDirection(Qt::LeftToRight);
            QCOMPARE(rtl.first, ltr.first);
            QCOMPARE(rtl.second.size(), ltr.second.size());
            QVERIFY(!ltr.second.isEmpty());
            for (int i = 0; i < ltr.second.size(); ++i) {
                const QRect& a = ltr.second[i].second;
                const QRect& b = rtl.second[i].second;
                QCOMPARE(b.top(), a.top());
                if (ltr.second[i].first == u"icon") {
                    QVERIFY(b.left() > ltr.first / 2);
                    continue;
                }
                QCOMPARE(b.size(), a.size());
                QCOMPARE(b.left(), ltr.first - a.left() - a.width());
            }
        }
    }

    void aboutOkCloses() {
        AboutDialog dialog;
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void instructionBytes() {
        InstructionsDialog dialog;
        const QByteArray bytes = ToCp1255(dialog.InstructionText);
        QCOMPARE(bytes.size(), 499);
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 14);  // thirteen lines and nothing after the last break
        QVERIFY(lines.last().isEmpty());
        for (qsizetype i = 0; i < 13; ++i) {
            QVERIFY2(lines[i].endsWith('\r'), QByteArray::number(i + 1).constData());
            QCOMPARE(lines[i].count('\r'), 1);
        }
        QCOMPARE(lines[11], QByteArray("\r"));  // the twelfth line is empty
        // Hebrew letters take the code page's upper half: "בהצלחה." and the
        // start of the first line, byte for byte.
        QCOMPARE(lines[12], QByteArray("\xE1\xE4\xF6\xEC\xE7\xE4.\r"));
        QVERIFY(lines[0].startsWith("\xEB\xEC \xE7\xE9\xE3\xFA "));
        QVERIFY(lines[2].contains(" File "));
        QVERIFY(lines[8].contains("(toolbar)"));
        QVERIFY(lines[10].contains(" undo "));
    }

    void instructionsDialog_data() {
        QTest::addColumn<bool>("hebrew");
        QTest::newRow("English") << false;
        QTest::newRow("Hebrew") << true;
    }
    void instructionsDialog() {
        QFETCH(bool, hebrew);
        InstructionsDialog dialog(nullptr, hebrew);
        const QString lines = InstructionsDialog::ShownLines(hebrew).join('\n');
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Instruction for vorlo"));
        QVERIFY(dialog.isModal());
        CheckControls(dialog, {
                                  {"ok", "QPushButton", "OK"},
                                  {"instructions", "QPlainTextEdit", lines},
                              });
        auto* edit = dialog.findChild<QPlainTextEdit*>();
        QVERIFY(edit->isReadOnly());
        QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(edit->document()->blockCount(), 13);
        const QTextOption option = edit->document()->defaultTextOption();
        QCOMPARE(option.alignment() & Qt::AlignHorizontal_Mask,
                 hebrew ? Qt::AlignRight : Qt::AlignLeft);
        QCOMPARE(option.textDirection(), hebrew ? Qt::RightToLeft : Qt::LeftToRight);

        // Typing into it changes nothing.
        dialog.show();
        edit->setFocus();
        QTest::keyClicks(edit, "abc");
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->toPlainText(), lines);
    }

    void instructionsLinesAreRightAligned() {
        // Every drawn line of the Hebrew guide ends at the right edge: the
        // empty column is on the left.
        InstructionsDialog dialog(nullptr, true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* edit = dialog.findChild<QPlainTextEdit*>();
        const QImage image = edit->viewport()->grab().toImage();
        const QColor background = image.pixelColor(image.width() / 2, image.height() - 2);
        int leftmost = image.width();
        int rightmost = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != background) {
                    leftmost = std::min(leftmost, x);
                    rightmost = std::max(rightmost, x);
                }
            }
        }
        QVERIFY(rightmost > image.width() * 9 / 10);
        QVERIFY(rightmost >= 0 && leftmost > 0);
    }

    // A dialog of one size: a title bar with a close box, no minimise or
    // maximise button, and a fixed frame.
    void fixedDialogsHaveDialogFrames() {
        SettingsStore store(NewStorePath());
        AboutDialog about;
        InstructionsDialog instructions;
        IntroDialog intro(store);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&about, &instructions, &intro}) {
            const Qt::WindowFlags flags = dialog->windowFlags();
            const QByteArray name = dialog->metaObject()->className();
            QVERIFY2(dialog->windowType() == Qt::Dialog, name.constData());
            for (Qt::WindowType wanted : {Qt::MSWindowsFixedSizeDialogHint, Qt::WindowTitleHint,
                                          Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint}) {
                QVERIFY2(flags.testFlag(wanted), name.constData());
            }
            for (Qt::WindowType unwanted :
                 {Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint,
                  Qt::WindowFullscreenButtonHint, Qt::WindowContextHelpButtonHint}) {
                QVERIFY2(!flags.testFlag(unwanted), name.constData());
            }
            // Shown, the window keeps them.
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QCOMPARE(dialog->windowHandle()->flags(), flags);
            dialog->hide();
        }
    }

    // The check box has the focus when the greeting opens, and shows it.
    // A button with an icon, right to left: its text stands between the
    // button's left edge and the icon as far from the edge as it stands from
    // the right edge left to right, never against the edge.
    void mirroredIconButtonsKeepTheirText() {
        vorlo::ButtonLabelStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
        QPixmap blank(16, 16);
        blank.fill(QColor(240, 240, 240));
        // The columns of the text's dark pixels, left to right.
        auto text = [&](Qt::LayoutDirection direction) {
            QApplication::setLayoutDirection(direction);
            QPushButton button(QStringLiteral("ביטול"));
            button.setStyle(&style);
            button.setIcon(QIcon(blank));
            button.resize(button.sizeHint());
            const QImage image = button.grab().toImage();
            QApplication::setLayoutDirection(Qt::LeftToRight);
            int left = -1;
            int right = -1;
            for (int x = 0; x < image.width(); ++x) {
                for (int y = 3; y < image.height() - 3; ++y) {
                    if (qGray(image.pixel(x, y)) < 100) {
                        left = left < 0 ? x : left;
                        right = x;
                    }
                }
            }
            return std::tuple(left, right, image.width());
        };
        const auto [ltrLeft, ltrRight, ltrWidth] = text(Qt::LeftToRight);
        const auto [rtlLeft, rtlRight, rtlWidth] = text(Qt::RightToLeft);
        QVERIFY(ltrLeft >= 0 && rtlLeft >= 0);
        QCOMPARE(rtlWidth, ltrWidth);
        QVERIFY2(rtlLeft >= 6, qPrintable(QString::number(rtlLeft)));
        QVERIFY2(qAbs(rtlLeft - (ltrWidth - 1 - ltrRight)) <= 3,
                 qPrintable(QStringLiteral("%1 %2").arg(rtlLeft).arg(ltrWidth - 1 - ltrRight)));
    }

    void introCheckBoxShowsItsFocus() {
        SettingsStore store(NewStorePath());
        IntroDialog dialog(store);
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("showAtStartup"));
        auto* close = dialog.findChild<QPushButton*>(QStringLiteral("close"));
        QVERIFY(box && close);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTRY_VERIFY(box->hasFocus());
        const QImage focused = box->grab().toImage();
        close->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(!box->hasFocus());
        const QImage unfocused = box->grab().toImage();
        QVERIFY2(focused != unfocused, "the check box looks the same with and without the focus");
    }

    void introDialog() {
        SettingsStore store(NewStorePath());
        IntroDialog dialog(store);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Introduction"));
        QVERIFY(dialog.isModal());
        CheckControls(dialog, {
                                  {"greeting", "QLabel",
                                   "Vorlo v1.1  lets you play with matches riddles!\n\n"
                                   "First, download new riddles from the Internet.\n"
                                   "Later on you can build your own and mail them\n"
                                   "to us to be published.\n\n"
                                   "See detailed instructions in Hebrew at the Help menu."},
                                  {"showAtStartup", "QCheckBox", "Show this message at startup"},
                                  {"close", "QPushButton", "&Close"},
                              });
        // Merely opening it writes nothing.
        QVERIFY(!store.HasGroup(kIntroductionKey));
    }

    void introCloseAndCancel_data() {
        QTest::addColumn<int>("storedBefore");  // -1: no key, -2: key without "show"
        QTest::addColumn<bool>("checkedAtOpen");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("storedAfter");
        QTest::addColumn<int>("result");

        const int accepted = QDialog::Accepted;
        const int rejected = QDialog::Rejected;
        QTest::newRow("first time, Close") << -1 << true << "close" << QByteArray("1") << accepted;
        QTest::newRow("uncheck, Close")
            << 1 << true << "uncheck close" << QByteArray("0") << accepted;
        QTest::newRow("stored 0 opens unchecked, Close keeps 0")
            << 0 << false << "close" << QByteArray("0") << accepted;
        QTest::newRow("stored 0, check, Close")
            << 0 << false << "check close" << QByteArray("1") << accepted;
        QTest::newRow("other byte means off")
            << 7 << false << "close" << QByteArray("0") << accepted;
        QTest::newRow("key without value") << -2 << true << "close" << QByteArray("1") << accepted;
        QTest::newRow("Escape keeps 1")
            << 1 << true << "uncheck escape" << QByteArray("1") << rejected;
        QTest::newRow("Escape keeps 0")
            << 0 << false << "check escape" << QByteArray("0") << rejected;
        QTest::newRow("Escape stores nothing")
            << -1 << true << "uncheck escape" << QByteArray("no key") << rejected;
        QTest::newRow("close box stores")
            << 1 << true << "uncheck closebox" << QByteArray("0") << rejected;
        QTest::newRow("close box, untouched")
            << -1 << true << "closebox" << QByteArray("1") << rejected;
        QTest::newRow("Enter on the check box")
            << 1 << true << "uncheck enter" << QByteArray("0") << accepted;
    }
    void introCloseAndCancel() {
        QFETCH(int, storedBefore);
        QFETCH(bool, checkedAtOpen);
        QFETCH(QString, action);
        QFETCH(QByteArray, storedAfter);
        QFETCH(int, result);

        SettingsStore store(NewStorePath());
        if (storedBefore != -1) {
            // Written as earlier versions wrote it: a new key held a marker.
            QFile file(store.FileName());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Vorlo.Introduction]\n%25key=true\n");
            if (storedBefore >= 0) {
                file.write("show=@ByteArray(\\x" + QByteArray::number(storedBefore, 16) + ")\n");
            }
        }

        QWidget mainWindow;
        mainWindow.show();
        IntroDialog dialog(store, &mainWindow);
        QCOMPARE(dialog.parentWidget(), &mainWindow);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* box = dialog.findChild<QCheckBox*>();
        auto* close = dialog.findChild<QPushButton*>();
        QCOMPARE(box->isChecked(), checkedAtOpen);
        QCOMPARE(dialog.ShowAtStartup, checkedAtOpen ? 1 : 0);
        QCOMPARE(dialog.focusWidget(), box);

        for (const QString& step : action.split(' ')) {
            if (step == "uncheck" || step == "check") {
                if (box->isChecked() != (step == "check")) {
                    QTest::keyClick(box, Qt::Key_Space);
                }
                QCOMPARE(box->isChecked(), step == "check");
            } else if (step == "close") {
                QTest::mouseClick(close, Qt::LeftButton);
            } else if (step == "escape") {
                QTest::keyClick(box, Qt::Key_Escape);
            } else if (step == "enter") {
                QTest::keyClick(box, Qt::Key_Return);
            } else if (step == "closebox") {
                // What the window manager does when the close box is pressed.
                QVERIFY(dialog.windowHandle());
                dialog.windowHandle()->close();
            } else {
                QFAIL(qPrintable("unknown step " + step));
            }
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), result);
        QCOMPARE(StoredShow(store), storedAfter);

        // The next opening shows what was stored.
        if (storedAfter == "0" || storedAfter == "1") {
            IntroDialog again(store);
            QCOMPARE(again.findChild<QCheckBox*>()->isChecked(), storedAfter == "1");
        }
    }

    void introUnwritableStore() {
        // Closing still works, silently, when the choice cannot be kept.
        QFile blocker(dir_.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsStore store(blocker.fileName() + "/vorlo.ini");
        IntroDialog dialog(store);
        dialog.show();
        auto* box = dialog.findChild<QCheckBox*>();
        QVERIFY(box->isChecked());
        box->setChecked(false);
        QTest::mouseClick(dialog.findChild<QPushButton*>(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ShowAtStartup, 0);
        QVERIFY(!store.HasGroup(kIntroductionKey));
    }

    void applicationIcon() {
        // The resource reaches programs that link only the dialogs.
        QVERIFY(QFile::exists(QString::fromLatin1(kApplicationIconResource)));
        const QImage image = ApplicationIconPixmap(48).toImage();
        QCOMPARE(image.size(), QSize(48, 48));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);  // transparent corners
        int red = 0;
        int yellow = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() < 255) {
                    continue;
                }
                red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
                yellow += c.red() > 200 && c.green() > 160 && c.blue() < 120;
            }
        }
        QVERIFY2(red > 20 && yellow > 20, qPrintable(QString("%1 %2").arg(red).arg(yellow)));
        QVERIFY(!ApplicationIcon().isNull());
    }

    // Each dialog is as large as its texts ask: under a larger font it grows,
    // and read from right to left, in Hebrew too, nothing is cut off. Runs
    // last: the Hebrew translation stays installed.
    void dialogsFitTheirTexts_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<bool>("hebrew");
        for (const bool hebrew : {false, true}) {  // English first: Hebrew stays installed
            for (int which = 0; which < 3; ++which) {
                const QByteArray name = QByteArray("dialog ") + QByteArray::number(which) +
                                        (hebrew ? ", Hebrew" : ", English");
                QTest::newRow(name.constData()) << which << 1.0 << hebrew;
                QTest::newRow((name + ", 1.5 times the font").constData())
                    << which << 1.5 << hebrew;
            }
        }
    }
    void dialogsFitTheirTexts() {
        QFETCH(int, which);
        QFETCH(qreal, scale);
        QFETCH(bool, hebrew);
        static bool translated = false;
        if (hebrew && !translated) {
            QVERIFY(vorlo::InstallHebrewTranslations(qApp));
            translated = true;
        }
        SettingsStore store(NewStorePath());
        const auto make = [&store, which]() -> std::unique_ptr<QDialog> {
            if (which == 0) {
                return std::make_unique<AboutDialog>();
            }
            if (which == 1) {
                return std::make_unique<InstructionsDialog>();
            }
            return std::make_unique<IntroDialog>(store);
        };
        const QFont before = QApplication::font();
        const QSize plain = make()->sizeHint();
        QFont font = before;
        font.setPointSizeF(before.pointSizeF() * scale);
        QApplication::setFont(font);
        QApplication::setLayoutDirection(hebrew ? Qt::RightToLeft : Qt::LeftToRight);
        const auto restore = qScopeGuard([before] {
            QApplication::setFont(before);
            QApplication::setLayoutDirection(Qt::LeftToRight);
        });
        const std::unique_ptr<QDialog> dialog = make();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        if (scale > 1) {
            QVERIFY(dialog->width() > plain.width() && dialog->height() > plain.height());
        }
        QCOMPARE(dialog->isRightToLeft(), hebrew);
        for (QWidget* control : dialog->findChildren<QWidget*>()) {
            if (control->objectName().isEmpty() || control->objectName().startsWith(u"qt_")) {
                continue;
            }
            const QByteArray name = control->objectName().toUtf8();
            QVERIFY2(control->width() >= control->sizeHint().width(), name.constData());
            QVERIFY2(control->height() >= control->sizeHint().height(), name.constData());
            const QRect inDialog(control->mapTo(dialog.get(), QPoint()), control->size());
            QVERIFY2(dialog->rect().contains(inDialog), name.constData());
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
