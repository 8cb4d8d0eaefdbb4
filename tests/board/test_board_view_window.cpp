// SPDX-License-Identifier: GPL-3.0-or-later
// The board in the program window: the commands reach it through their
// actions, the actions' enable states and the match count follow every
// change, and the sample commands open riddles from the program's folder.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "board_view.h"
#include "commands.h"
#include "file_commands.h"
#include "main_window.h"
#include "recording_window.h"
#include "riddle_document.h"
#include "settings_store.h"
#include "window_status.h"

using namespace vorlo;

namespace {

const QString kSamples = QStringLiteral(VORLO_SOURCE_DIR "/resources/samples/");

}  // namespace

class TestBoardViewWindow : public QObject {
    Q_OBJECT

private:
    RecordingFrame recording;
    std::unique_ptr<MainWindow>& frame = recording.frame;
    QStringList& errors = recording.errors;
    QStringList& prompts = recording.prompts;

    RiddleDocument* doc() { return frame->riddleDocument(); }
    BoardView* board() { return frame->boardView(); }
    bool Enabled(CommandId id) { return frame->Action(id)->isEnabled(); }
    QString Indicator() { return frame->Status().MatchCountPane()->text(); }
    void Trigger(CommandId id) { frame->Action(id)->trigger(); }

    static void SetFullPath(const std::optional<QString>& folder) {
        SettingsStore settings;
        QSettings(settings.FileName(), QSettings::IniFormat).clear();
        if (folder && !folder->isNull()) {
            QVERIFY(settings.RecordInstallationFolder(*folder));
        } else if (folder) {
            // The group without its value, as earlier versions left it.
            QSettings(settings.FileName(), QSettings::IniFormat)
                .setValue(QStringLiteral("%1/%key").arg(QString::fromLatin1(kPathKey)), true);
        }
    }

private slots:
    void init() {
        recording.promptAnswer = QMessageBox::Discard;
        QVERIFY(recording.Make());
        QCOMPARE(frame->GetActiveView(), static_cast<QWidget*>(board()));
    }
    void cleanup() { recording.Reset(); }

    // Each change, whether by command or by mouse, shows at once in the
    // actions and the status bar.
    void statesFollowEveryChange() {
        QCOMPARE(Indicator(), QStringLiteral("0 matches"));
        QVERIFY(!Enabled(CommandId::DeleteMatch));
        QVERIFY(!Enabled(CommandId::Rotate90));
        QVERIFY(!Enabled(CommandId::EditUndo));

        Trigger(CommandId::AddMatch);
        QCOMPARE(Indicator(), QStringLiteral("1 matches"));
        QVERIFY(Enabled(CommandId::DeleteMatch));
        QVERIFY(Enabled(CommandId::Rotate90));
        QVERIFY(Enabled(CommandId::EditUndo));
        QVERIFY(frame->isWindowModified());

        Trigger(CommandId::DeleteMatch);
        QCOMPARE(Indicator(), QStringLiteral("0 matches"));
        QVERIFY(!Enabled(CommandId::DeleteMatch));
        QVERIFY(Enabled(CommandId::EditUndo));

        Trigger(CommandId::EditUndo);
        QCOMPARE(Indicator(), QStringLiteral("1 matches"));
        QVERIFY(Enabled(CommandId::DeleteMatch));

        // A press on the empty board clears the selection, and the commands
        // that need one go grey; a press on the match enables them again.
        const Match m = *doc()->SelectedMatch;
        const QPoint onMatch(m.x + 2, m.y - 20);  // upright: the stick goes up from the tail
        QWidget* port = board()->viewport();
        const QPoint empty(port->width() - 5, port->height() - 5);
        QTest::mouseClick(port, Qt::LeftButton, {}, empty);
        QVERIFY(!doc()->SelectedMatch);
        QVERIFY(!Enabled(CommandId::DeleteMatch));
        QVERIFY(!Enabled(CommandId::Rotate90));
        QTest::mouseClick(port, Qt::RightButton, {}, onMatch);
        QVERIFY(doc()->SelectedMatch);
        QVERIFY(Enabled(CommandId::DeleteMatch));
        QVERIFY(Enabled(CommandId::Rotate90));

        // Copy and paste through the actions.
        Trigger(CommandId::EditCopy);
        Trigger(CommandId::EditPaste);
        Trigger(CommandId::EditPaste);
        QCOMPARE(Indicator(), QStringLiteral("3 matches"));
        Trigger(CommandId::EditCut);
        QCOMPARE(Indicator(), QStringLiteral("2 matches"));
        Trigger(CommandId::Rotate90);
        QCOMPARE(doc()->SelectedMatch->angle, 90);

        // A new riddle: nothing to undo, nothing selected.
        QVERIFY(frame->Files().OnFileNew());
        QCOMPARE(Indicator(), QStringLiteral("0 matches"));
        QVERIFY(!Enabled(CommandId::EditUndo));
        QVERIFY(!Enabled(CommandId::DeleteMatch));
        QVERIFY(!board()->Editor().UndoMatch());
    }

    void addUsesTheBoardWindowWidth() {
        board()->Editor().SetNewMatchCounter(0);
        const int width = board()->width();
        const int inView = board()->viewport()->width();
        QVERIFY(width > 100);
        QVERIFY(inView < width);
        // Step on until the spots wrap at the board's width. Each match is
        // deleted again, so only the viewport's edge passes spots over.
        QList<int> xs;
        while (xs.size() < 2 || xs.last() > xs[xs.size() - 2]) {
            QVERIFY(xs.size() < width);
            Trigger(CommandId::AddMatch);
            const int x = doc()->SelectedMatch->x;
            const int n = board()->Editor().NewMatchCounter() - 18;
            QCOMPARE(x, n % width + 20);
            QVERIFY2(x + 11 <= inView, qPrintable(QString::number(x)));
            xs << x;
            Trigger(CommandId::DeleteMatch);
        }
        QVERIFY(xs.last() < 40);
        // The last spot before the wrap was the last one in view.
        QVERIFY(xs[xs.size() - 2] + 18 + 11 > inView);
    }

    void sampleCommandsOpenFromTheProgramFolder_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("file");
        QTest::newRow("kids") << int(CommandId::SampleKidsRiddle)
                              << QStringLiteral("kidsriddle.vrl");
        QTest::newRow("1") << int(CommandId::SampleRiddle1) << QStringLiteral("riddle1.vrl");
        QTest::newRow("2") << int(CommandId::SampleRiddle2) << QStringLiteral("riddle2.vrl");
        QTest::newRow("3") << int(CommandId::SampleRiddle3) << QStringLiteral("riddle3.vrl");
    }
    void sampleCommandsOpenFromTheProgramFolder() {
        QFETCH(int, command);
        QFETCH(QString, file);
        SetFullPath(kSamples);
        // The commands have no menu entry, button or key.
        QAction* action = frame->Action(static_cast<CommandId>(command));
        QVERIFY(action->shortcuts().isEmpty());
        QVERIFY(action->associatedObjects().size() == 1);  // only the window holds it
        // A modified riddle is offered for saving first.
        Trigger(CommandId::AddMatch);
        Trigger(static_cast<CommandId>(command));
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(doc()->pathName(), QFileInfo(kSamples + file).absoluteFilePath());
        QVERIFY(doc()->MatchList.Count() > 0);
        QVERIFY(!doc()->isModified());
        QVERIFY(errors.isEmpty());
        QCOMPARE(Indicator(), QStringLiteral("%1 matches").arg(doc()->MatchList.Count()));
    }

    void sampleCommandsNeedTheFolder_data() {
        QTest::addColumn<bool>("key");
        QTest::addColumn<QString>("folder");  // null: no value
        QTest::addColumn<bool>("opened");
        QTest::addColumn<int>("messages");
        QTest::newRow("no key") << false << QString() << false << 0;
        QTest::newRow("no value") << true << QString() << false << 0;
        QTest::newRow("empty value") << true << QStringLiteral("") << false << 0;
        QTest::newRow("folder without the file")
            << true << QDir::tempPath() + QStringLiteral("/no-such-folder/") << false << 1;
        QTest::newRow("folder") << true << kSamples << true << 0;
    }
    void sampleCommandsNeedTheFolder() {
        QFETCH(bool, key);
        QFETCH(QString, folder);
        QFETCH(bool, opened);
        QFETCH(int, messages);
        if (key) {
            SetFullPath(folder.isNull() ? QString() : folder);
        } else {
            SetFullPath(std::nullopt);
        }
        Trigger(CommandId::SampleRiddle1);
        QCOMPARE(!doc()->pathName().isEmpty(), opened);
        QCOMPARE(errors.size(), messages);
        if (messages > 0) {
            QVERIFY(errors.first().contains(QStringLiteral("no-such-folder/riddle1.vrl")));
        }
        // Reading the folder never creates the key.
        QCOMPARE(SettingsStore().HasGroup(QString::fromLatin1(kPathKey)), key);
    }
};

int main(int argc, char** argv) {
    // The settings go to a folder of the test's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestBoardViewWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_board_view_window.moc"
