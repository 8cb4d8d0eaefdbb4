// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The information page as the pane sees it: a source that finds the page and
// hands it over later. The source that asks the program's web server
// (InfoPageLoader) is built as a module of its own and loaded when the pane
// first wants its page, so the network libraries are not loaded, nor their
// symbols bound, before the window is up. Without the module the pane still
// shows the copy installed with the program.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

namespace vorlo {

// Receives the page to show and the address its relative links resolve
// against; an empty page with an empty URL means there is nothing to show.
using InfoPageReady = std::function<void(const QString& html, const QUrl& baseUrl)>;

class InfoPageSource {
public:
    virtual ~InfoPageSource() = default;
    // Starts loading the page anew; a load still running is dropped. The
    // page reaches the callback the source was made with, always from the
    // event loop, never from inside Load. `installationFolder` may be empty
    // (then there is no installed copy to fall back on).
    virtual void Load(const QString& installationFolder) = 0;
};

// The module's file name (without ".so") and the function it exports, of
// type InfoPageFactory.
inline constexpr char kInfoPageModuleName[] = "vorlo-infopage";
inline constexpr char kInfoPageFactoryName[] = "vorlo_make_info_page_source";
using InfoPageFactory = InfoPageSource* (*)(InfoPageReady ready);

// The folders searched for the module, in order: the program's own folder
// (a build), then the one the module is installed to, found from the
// program's folder (/usr/games/vorlo: /usr/lib/games/vorlo).
QStringList InfoPageModuleFolders();

// The source that asks the web server, from the module; null, with the reason
// in `why`, when no module can be loaded.
std::unique_ptr<InfoPageSource> LoadOnlineInfoPageSource(InfoPageReady ready, QString* why);
// ... from the first of `folders` that holds a sound module.
std::unique_ptr<InfoPageSource> LoadOnlineInfoPageSourceFrom(const QStringList& folders,
                                                             InfoPageReady ready, QString* why);

// What is wrong with the module file at `path` as a shared object for this
// machine, or empty when it can be loaded. The loader maps the file's
// segments and touches them: a file cut short (a full disk during an update)
// would end the program with SIGBUS instead of an error, so its size is held
// against every extent its ELF headers name before it is loaded.
QString ModuleFileProblem(const QString& path);

// The copy of the page installed in `folder`, as shown: empty when `folder`
// is empty, the file cannot be read, or it is larger than `maxBytes`.
struct InfoPage {
    QString html;
    QUrl baseUrl;
};
// `name` is the page's file name: the Hebrew page unless another is asked for.
InfoPage ReadInstalledInfoPage(const QString& folder, qint64 maxBytes, const QString& name = {});

inline constexpr char kInfoPageName[] = "vorlo_heb.html";
// The page for the English interface, installed beside the Hebrew one.
inline constexpr char kEnglishInfoPageName[] = "vorlo_eng.html";
inline constexpr qint64 kInfoPageMaxBytes = 1024 * 1024;

// The page's bytes as text: the charset of the Content-Type header when it
// names one Qt knows, else the one the HTML declares, else UTF-8.
QString DecodeHtml(const QByteArray& data, const QByteArray& contentType = {});

}  // namespace vorlo
