// SPDX-License-Identifier: GPL-3.0-or-later
#include "ads_view.h"

#include <QDesktopServices>

#include "info_page_loader.h"

CAdsView::CAdsView(CVorloDoc* doc, QWidget* parent)
    : QTextBrowser(parent), doc_(doc), loader_(new vorlo::InfoPageLoader(this)) {
    setFocusPolicy(Qt::StrongFocus);
    // Links leave the pane for the user's browser; the page itself stays put.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this,
            [](const QUrl& url) { QDesktopServices::openUrl(url); });
    connect(loader_, &vorlo::InfoPageLoader::PageReady, this, &CAdsView::ShowPage);
    connect(doc_, &CVorloDoc::InitialUpdate, this, &CAdsView::OnInitialUpdate);
    connect(doc_, &CVorloDoc::ViewsUpdate, this, &CAdsView::OnUpdate);
}

CAdsView::~CAdsView() = default;

void CAdsView::OnInitialUpdate() {
    if (held_) {
        loadWaiting_ = true;
        return;
    }
    loadWaiting_ = false;
    // The installed copy lies in the installation folder that start-up
    // records; without it there is no local page to fall back on.
    loader_->Load(InstallationFolder ? InstallationFolder() : QString());
}

void CAdsView::HoldLoading(bool hold) {
    held_ = hold;
    if (!held_ && loadWaiting_) {
        OnInitialUpdate();
    }
}

void CAdsView::ShowPage(const QString& html, const QUrl& baseUrl) {
    // Relative images and links resolve against where the page came from.
    document()->setBaseUrl(baseUrl);
    if (baseUrl.isLocalFile()) {
        setSearchPaths({QUrl(baseUrl).adjusted(QUrl::RemoveFilename).toLocalFile()});
    }
    setHtml(html);
    emit PageShown(baseUrl);
}

void CAdsView::OnUpdate(QObject* sender, int hint) {
    if (sender == this || hint == vorlo::HintBoardChanged) {
        return;
    }
    viewport()->update();
}
