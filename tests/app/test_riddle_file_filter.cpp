// SPDX-License-Identifier: GPL-3.0-or-later
// The Open dialog lists riddles and folders, not the solutions beside them.

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <algorithm>

#include "file_commands.h"
#include "hang_guard.h"

class TestRiddleFileFilter : public QObject {
    Q_OBJECT

private slots:
    void openDialogHidesSolutions() {
        QTemporaryDir dir;
        const QStringList names = {
            "a.vrl", "a.solution.vrl",  "a.solution-2.vrl", "a.SOLUTION-3.VRL",
            "b.vrl", "b.solutions.vrl", "z.solution.vrl"};
        for (const QString& name : names) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        // A folder stays, and so does a solution without its riddle.
        QVERIFY(QDir(dir.path()).mkdir("c.solution.vrl"));

        const std::unique_ptr<QFileDialog> dialog =
            FileCommands::MakeFileDialog(nullptr, false, dir.path());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open"));
        QCOMPARE(dialog->nameFilters(), QStringList{"Vorlo riddle(*.vrl)"});
        QCOMPARE(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
        dialog->open();

        // The file list fills in the background: every entry is there first.
        auto* files = dialog->findChild<QFileSystemModel*>();
        QVERIFY(files);
        const QModelIndex folder = files->index(dir.path());
        QTRY_COMPARE_WITH_TIMEOUT(files->rowCount(folder), int(names.size() + 1),
                                  vorlo::test::kHangGuardMs);

        const QStringList expected = {"a.vrl", "b.solutions.vrl", "b.vrl", "c.solution.vrl",
                                      "z.solution.vrl"};
        const QList<QAbstractItemView*> views = {dialog->findChild<QListView*>("listView"),
                                                 dialog->findChild<QTreeView*>("treeView")};
        for (QAbstractItemView* view : views) {
            QVERIFY(view);
            QStringList shown;
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row) {
                shown << view->model()->index(row, 0, root).data().toString();
            }
            std::sort(shown.begin(), shown.end());
            QCOMPARE(shown, expected);
        }
        dialog->close();
    }
};

QTEST_MAIN(TestRiddleFileFilter)
#include "test_riddle_file_filter.moc"
