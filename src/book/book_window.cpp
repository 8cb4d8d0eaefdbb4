// SPDX-License-Identifier: GPL-3.0-or-later
#include "book_window.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "riddle_book_model.h"
#include "settings_store.h"
#include "shown_name.h"
#include "tile_delegate.h"

namespace {

// A folder that takes longer than this to read shows how far it has come.
constexpr int kProgressDelayMs = 400;
// The book's size, within a 1024 x 600 screen with its panels.
constexpr QSize kDefaultSize(900, 520);

}  // namespace

BookWindow::BookWindow(vorlo::TilePlaces places, QWidget* parent)
    : QWidget(parent, Qt::Window),
      model_(new RiddleBookModel(std::move(places), this)),
      filter_(new UnsolvedFilter(this)),
      chapterList_(new QListWidget),
      addButton_(new QPushButton(tr("&Add Folder..."))),
      removeButton_(new QPushButton(tr("&Remove Folder"))),
      unsolvedOnly_(new QCheckBox(tr("Only &unsolved"))),
      progressBar_(new QProgressBar),
      count_(new QLabel),
      tiles_(new QListView),
      visibleTimer_(new QTimer(this)),
      progressDelay_(new QTimer(this)) {
    setWindowTitle(tr("Riddle Book"));
    setObjectName(QStringLiteral("RiddleBook"));
    filter_->setSourceModel(model_);

    auto* chapterLabel = new QLabel(tr("&Chapters"));
    chapterLabel->setBuddy(chapterList_);
    chapterList_->setAccessibleName(tr("Chapters"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton_);
    buttons->addWidget(removeButton_);
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(chapterLabel);
    leftLayout->addWidget(chapterList_, 1);
    leftLayout->addLayout(buttons);

    unsolvedOnly_->setAccessibleName(tr("Show only unsolved riddles"));
    progressBar_->setAccessibleName(tr("Reading the riddles"));
    progressBar_->setMaximumWidth(200);
    progressBar_->hide();
    tiles_->setAccessibleName(tr("Riddles"));
    tiles_->setModel(filter_);
    tiles_->setItemDelegate(new TileDelegate(tiles_));
    tiles_->setViewMode(QListView::ListMode);
    tiles_->setFlow(QListView::LeftToRight);
    tiles_->setWrapping(true);
    tiles_->setResizeMode(QListView::Adjust);
    tiles_->setMovement(QListView::Static);
    tiles_->setUniformItemSizes(true);
    tiles_->setSpacing(4);
    tiles_->setGridSize(TileDelegate::TileSize(fontMetrics()) + QSize(8, 8));
    tiles_->setSelectionMode(QAbstractItemView::SingleSelection);
    tiles_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    tiles_->verticalScrollBar()->setSingleStep(24);

    auto* top = new QHBoxLayout;
    top->addWidget(unsolvedOnly_);
    top->addStretch(1);
    top->addWidget(count_);
    top->addWidget(progressBar_);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(top);
    rightLayout->addWidget(tiles_, 1);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 700});
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    // Tab goes from the chapters to the tiles and back; the filter and the
    // folder buttons follow the tiles.
    setTabOrder(chapterList_, tiles_);
    setTabOrder(tiles_, unsolvedOnly_);
    setTabOrder(unsolvedOnly_, addButton_);
    setTabOrder(addButton_, removeButton_);

    visibleTimer_->setSingleShot(true);
    visibleTimer_->setInterval(0);
    connect(visibleTimer_, &QTimer::timeout, this, &BookWindow::updateVisibleRows);
    progressDelay_->setSingleShot(true);
    progressDelay_->setInterval(kProgressDelayMs);
    connect(progressDelay_, &QTimer::timeout, this, [this] {
        if (model_->isLoading()) {
            progressBar_->show();
        }
    });

    connect(chapterList_, &QListWidget::currentRowChanged, this, &BookWindow::showChapter);
    connect(tiles_, &QListView::activated, this, &BookWindow::onActivated);
    connect(model_, &RiddleBookModel::progress, this, &BookWindow::onProgress);
    connect(unsolvedOnly_, &QCheckBox::toggled, this, [this](bool on) {
        filter_->setOnlyUnsolved(on);
        updateCount();
        scheduleVisibleRows();
    });
    connect(addButton_, &QPushButton::clicked, this, &BookWindow::addFolder);
    connect(removeButton_, &QPushButton::clicked, this, &BookWindow::removeFolder);
    connect(tiles_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &BookWindow::scheduleVisibleRows);
    connect(filter_, &QAbstractItemModel::modelReset, this, [this] {
        // The chapter's riddles have come: the first is the current tile.
        if (!tiles_->currentIndex().isValid() && filter_->rowCount() > 0) {
            tiles_->setCurrentIndex(filter_->index(0, 0));
        }
        updateCount();
        scheduleVisibleRows();
    });
    connect(filter_, &QAbstractItemModel::rowsInserted, this, &BookWindow::scheduleVisibleRows);
    connect(filter_, &QAbstractItemModel::rowsRemoved, this, &BookWindow::scheduleVisibleRows);
    connect(filter_, &QAbstractItemModel::layoutChanged, this, &BookWindow::scheduleVisibleRows);
    tiles_->viewport()->installEventFilter(this);
    chapterList_->installEventFilter(this);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    resize(kDefaultSize);
    reloadChapters();
}

BookWindow::~BookWindow() = default;

void BookWindow::reloadChapters() {
    const QString shown = model_->folder();
    chapters_ = vorlo::BookChapters::ForUser();
    const QSignalBlocker quiet(chapterList_);
    chapterList_->clear();
    int current = 0;
    for (size_t i = 0; i < chapters_.size(); ++i) {
        auto* item = new QListWidgetItem(vorlo::ShownName(chapters_[i].title), chapterList_);
        item->setToolTip(
            vorlo::PathInSentence(chapters_[i].folder, QGuiApplication::isRightToLeft()));
        if (chapters_[i].folder == shown) {
            current = static_cast<int>(i);
        }
    }
    chapterList_->setCurrentRow(chapters_.empty() ? -1 : current);
    showChapter(chapters_.empty() ? -1 : current);
}

void BookWindow::showChapter(int index) {
    const bool valid = index >= 0 && index < static_cast<int>(chapters_.size());
    const QString folder = valid ? chapters_[static_cast<size_t>(index)].folder : QString();
    removeButton_->setEnabled(valid && chapters_[static_cast<size_t>(index)].Removable());
    if (valid && chapterList_->currentRow() != index) {
        const QSignalBlocker quiet(chapterList_);
        chapterList_->setCurrentRow(index);
    }
    progressBar_->hide();
    model_->setFolder(folder);
    progressDelay_->start();
    updateCount();
    scheduleVisibleRows();
}

void BookWindow::refreshKey(const QString& key) {
    model_->refreshKey(key);
}

void BookWindow::onActivated(const QModelIndex& index) {
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEnabled)) {
        return;  // a file that cannot be read is never opened
    }
    emit openRequested(index.data(RiddleBookModel::PathRole).toString());
}

void BookWindow::onProgress(int read, int total) {
    progressBar_->setRange(0, std::max(total, 1));
    progressBar_->setValue(read);
    if (read >= total) {
        progressDelay_->stop();
        progressBar_->hide();
    }
    updateCount();
}

void BookWindow::updateCount() {
    const int shown = filter_->rowCount();
    if (model_->rowCount() == 0) {
        count_->setText(model_->isLoading() ? QString() : tr("No riddles in this chapter"));
    } else if (unsolvedOnly_->isChecked()) {
        count_->setText(tr("%1 of %2 riddles unsolved").arg(shown).arg(model_->rowCount()));
    } else {
        count_->setText(shown == 1 ? tr("1 riddle") : tr("%1 riddles").arg(shown));
    }
}

void BookWindow::addFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Add a Folder of Riddles"));
    if (folder.isEmpty()) {
        return;
    }
    vorlo::SettingsStore settings;
    QStringList folders = settings.BookFolders();
    const QString clean = QDir::cleanPath(folder);
    if (!folders.contains(clean)) {
        folders.append(clean);
        settings.SetBookFolders(folders);
    }
    reloadChapters();
    for (size_t i = 0; i < chapters_.size(); ++i) {
        if (chapters_[i].folder == clean) {
            showChapter(static_cast<int>(i));
        }
    }
}

void BookWindow::removeFolder() {
    const int index = chapterList_->currentRow();
    if (index < 0 || index >= static_cast<int>(chapters_.size()) ||
        !chapters_[static_cast<size_t>(index)].Removable()) {
        return;
    }
    const QString folder = chapters_[static_cast<size_t>(index)].folder;
    vorlo::SettingsStore settings;
    QStringList folders = settings.BookFolders();
    folders.removeIf([&](const QString& kept) { return QDir::cleanPath(kept) == folder; });
    settings.SetBookFolders(folders);
    reloadChapters();
}

void BookWindow::scheduleVisibleRows() {
    visibleTimer_->start();
}

void BookWindow::updateVisibleRows() {
    const int count = filter_->rowCount();
    QList<int> rows;
    if (count > 0) {
        // The tiles lie in rows from the top: the first and the last shown
        // are found by halving.
        const QRect view = tiles_->viewport()->rect();
        int low = 0;
        int high = count;
        while (low < high) {
            const int mid = (low + high) / 2;
            if (tiles_->visualRect(filter_->index(mid, 0)).bottom() < view.top()) {
                low = mid + 1;
            } else {
                high = mid;
            }
        }
        const int first = low;
        high = count;
        while (low < high) {
            const int mid = (low + high) / 2;
            if (tiles_->visualRect(filter_->index(mid, 0)).top() <= view.bottom()) {
                low = mid + 1;
            } else {
                high = mid;
            }
        }
        for (int row = first; row < low; ++row) {
            rows.append(filter_->mapToSource(filter_->index(row, 0)).row());
        }
    }
    model_->setVisibleRows(rows);
}

bool BookWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tiles_->viewport() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        scheduleVisibleRows();
    }
    if (watched == chapterList_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            tiles_->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BookWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Within the screen it opens on, whatever its size.
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        const QSize frame = frameGeometry().size() - geometry().size();
        const QSize most = available.size() - frame;
        if (width() > most.width() || height() > most.height()) {
            resize(std::min(width(), most.width()), std::min(height(), most.height()));
        }
    }
    scheduleVisibleRows();
}
