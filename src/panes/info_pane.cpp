// SPDX-License-Identifier: GPL-3.0-or-later
#include "info_pane.h"

#include <QDesktopServices>
#include <QTimer>

#include "info_page_source.h"
#include "interface_language.h"

InfoPane::InfoPane(RiddleDocument* doc, QWidget* parent)
    : QTextBrowser(parent), EnglishPageFirst(!vorlo::HebrewInterface()), doc_(doc) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Information"));
    setAccessibleDescription(tr("About the program and how to play"));
    // Links leave the pane for the user's browser; the page itself stays put.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this,
            [](const QUrl& url) { QDesktopServices::openUrl(url); });
    connect(doc_, &RiddleDocument::reset, this, &InfoPane::OnInitialUpdate);
}

InfoPane::~InfoPane() = default;

void InfoPane::OnInitialUpdate() {
    if (held_) {
        loadWaiting_ = true;
        return;
    }
    loadWaiting_ = false;
    ++generation_;
    // The installed copy lies in the installation folder that start-up
    // records; without it there is no local page to fall back on.
    const QString folder = InstallationFolder ? InstallationFolder() : QString();
    // English readers get the English page where one is installed; the
    // program's server holds only the Hebrew one.
    if (EnglishPageFirst) {
        const vorlo::InfoPage english = vorlo::ReadInstalledInfoPage(
            folder, vorlo::kInfoPageMaxBytes, QLatin1String(vorlo::kEnglishInfoPageName));
        if (!english.html.isEmpty()) {
            QTimer::singleShot(0, this, [this, generation = generation_, english] {
                if (generation == generation_) {
                    ShowPage(english.html, english.baseUrl);
                }
            });
            return;
        }
    }
    if (!sourceTried_) {
        sourceTried_ = true;
        QString why;
        const auto make = MakeSource ? MakeSource : vorlo::LoadOnlineInfoPageSource;
        source_ = make(
            [this](const QString& html, const QUrl& baseUrl) { ShowPage(html, baseUrl); }, &why);
        if (!source_) {
            // Without a source position: qWarning would put this file's
            // path into a debug build's program.
            QMessageLogger().warning(
                "vorlo: the information page is shown from the installed copy only: %s",
                qUtf8Printable(why));
        }
    }
    if (source_) {
        source_->Load(folder);
        return;
    }
    // As from the server's source: later, from the event loop.
    QTimer::singleShot(0, this, [this, generation = generation_, folder] {
        if (generation == generation_) {
            const vorlo::InfoPage page =
                vorlo::ReadInstalledInfoPage(folder, vorlo::kInfoPageMaxBytes);
            ShowPage(page.html, page.baseUrl);
        }
    });
}

void InfoPane::HoldLoading(bool hold) {
    held_ = hold;
    if (!held_ && loadWaiting_) {
        OnInitialUpdate();
    }
}

void InfoPane::ShowPage(const QString& html, const QUrl& baseUrl) {
    // Relative images and links resolve against where the page came from.
    document()->setBaseUrl(baseUrl);
    if (baseUrl.isLocalFile()) {
        setSearchPaths({QUrl(baseUrl).adjusted(QUrl::RemoveFilename).toLocalFile()});
    }
    setHtml(html);
    emit PageShown(baseUrl);
}
