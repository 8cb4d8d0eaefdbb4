// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The narrow information pane on the left: the program's page from its web
// server when that can be had, otherwise the copy installed beside the
// program. It shows nothing of the riddle and ignores the board's changes.

#include <QTextBrowser>

#include <functional>
#include <memory>

#include "info_page_source.h"
#include "riddle_document.h"

class InfoPane : public QTextBrowser {
    Q_OBJECT

public:
    explicit InfoPane(RiddleDocument* doc, QWidget* parent = nullptr);
    ~InfoPane() override;

    // New contents (start, New, Open): loads the page anew.
    void OnInitialUpdate();

    // While held, a load asked for waits instead of starting; releasing the
    // hold starts the latest one that waited. The window holds the pane until
    // its first paint, so that neither the network nor the page's layout
    // delays it.
    void HoldLoading(bool hold);
    bool LoadingHeld() const { return held_; }

    // The program's installation folder, which holds the installed copy of
    // the page; handed down by the window. Unset or empty: no local copy.
    std::function<QString()> InstallationFolder;
    // Whether the installed English page comes before the server's Hebrew
    // one: with the English interface.
    bool EnglishPageFirst;

    // Makes the source that asks the web server, at the first load: by
    // default from the module (vorlo::LoadOnlineInfoPageSource). Null, with
    // the reason, when there is none; the pane then shows the installed copy.
    std::function<std::unique_ptr<vorlo::InfoPageSource>(vorlo::InfoPageReady ready, QString* why)>
        MakeSource;

signals:
    // The page (or nothing) is on show.
    void PageShown(const QUrl& baseUrl);

private:
    void ShowPage(const QString& html, const QUrl& baseUrl);

    RiddleDocument* doc_;
    // Made at the first load, from the module that asks the web server.
    std::unique_ptr<vorlo::InfoPageSource> source_;
    bool sourceTried_ = false;
    quint64 generation_ = 0;  // which load a queued installed copy belongs to
    bool held_ = false;
    bool loadWaiting_ = false;
};
