// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The riddle book: a window of its own beside the main window, with the
// chapters on one side and the riddles of the chosen one as tiles on the
// other. Enter or a double click on a tile asks for the riddle to be played
// (openRequested); whoever opens it tells the book when a game was kept
// (refreshKey), and the tile follows. Everything works from the keyboard:
// Tab moves between the chapters and the tiles, the arrows within them.

#include <QWidget>

#include <vector>

#include "book_chapters.h"
#include "tile_loader.h"

class QCheckBox;
class QLabel;
class QListView;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;
class RiddleBookModel;
class UnsolvedFilter;

class BookWindow : public QWidget {
    Q_OBJECT

public:
    // The chapters are this user's (BookChapters::ForUser); `places` are
    // where the games and the thumbnails are kept.
    explicit BookWindow(vorlo::TilePlaces places, QWidget* parent = nullptr);
    ~BookWindow() override;

    // The game of riddle `key` was kept: its tiles read their state again.
    void refreshKey(const QString& key);
    // Reads the chapters again (the installation's families may have come).
    void reloadChapters();

    RiddleBookModel* model() const { return model_; }
    UnsolvedFilter* filter() const { return filter_; }
    QListView* tiles() const { return tiles_; }
    QListWidget* chapterList() const { return chapterList_; }
    QCheckBox* unsolvedOnly() const { return unsolvedOnly_; }
    QProgressBar* progressBar() const { return progressBar_; }
    const std::vector<vorlo::BookChapter>& chapters() const { return chapters_; }
    // Shows chapter `index` of chapters().
    void showChapter(int index);

signals:
    // The player chose riddle `path` to play.
    void openRequested(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onActivated(const QModelIndex& index);
    void onProgress(int read, int total);
    void addFolder();
    void removeFolder();
    void scheduleVisibleRows();
    void updateVisibleRows();
    void updateCount();

    std::vector<vorlo::BookChapter> chapters_;
    RiddleBookModel* model_;
    UnsolvedFilter* filter_;
    QListWidget* chapterList_;
    QPushButton* addButton_;
    QPushButton* removeButton_;
    QCheckBox* unsolvedOnly_;
    QProgressBar* progressBar_;
    QLabel* count_;
    QListView* tiles_;
    QTimer* visibleTimer_;
    QTimer* progressDelay_;
};
