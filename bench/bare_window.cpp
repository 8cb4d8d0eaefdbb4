// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline of the start-up benchmark: a bare main window built from the
// same kinds of widgets as the program's (menus, toolbar, status bar, a text
// browser, a scroll area and a rich text editor in splitters) and nothing else,
// placed and sized as the program places its window on the same screen, with
// the same pane sizes, so both paint the same number of pixels.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolBar>

#include "frame_placement.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    const char* menus[] = {"&File", "&Edit", "&View", "&Help"};
    for (const char* title : menus) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 0; i < 6; ++i) {
            menu->addAction(QStringLiteral("Item %1").arg(i));
        }
    }
    QToolBar* toolbar = window.addToolBar(QStringLiteral("Toolbar"));
    for (int i = 0; i < 12; ++i) {
        toolbar->addAction(QStringLiteral("T%1").arg(i));
    }
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    auto* outer = new QSplitter(Qt::Horizontal);
    outer->addWidget(new QTextBrowser);
    auto* inner = new QSplitter(Qt::Vertical);
    inner->addWidget(new QAbstractScrollArea);
    inner->addWidget(new QTextEdit);
    outer->addWidget(inner);
    window.setCentralWidget(outer);
    int boardHeight = 0;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const vorlo::ScreenPlacement place =
            vorlo::PlaceFrameOnScreen(screen->availableGeometry(), QMargins());
        window.setGeometry(place.inside);
        boardHeight = place.boardHeight;
    }
    window.show();
    outer->setSizes({vorlo::kInfoPaneWidth, outer->width() - vorlo::kInfoPaneWidth});
    inner->setSizes({boardHeight, inner->height() - boardHeight});
    return app.exec();
}
