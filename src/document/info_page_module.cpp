// SPDX-License-Identifier: GPL-3.0-or-later
// The module that holds the web server's side of the information page, with
// Qt Network: the program loads it when its pane first wants the page.

#include "info_page_loader.h"
#include "info_page_source.h"

namespace {

class OnlineInfoPageSource final : public vorlo::InfoPageSource {
public:
    explicit OnlineInfoPageSource(vorlo::InfoPageReady ready) {
        QObject::connect(&loader_, &vorlo::InfoPageLoader::PageReady, &loader_,
                         [ready = std::move(ready)](const QString& html, const QUrl& baseUrl) {
                             if (ready) {
                                 ready(html, baseUrl);
                             }
                         });
    }

    void Load(const QString& installationFolder) override { loader_.Load(installationFolder); }

private:
    vorlo::InfoPageLoader loader_;
};

}  // namespace

extern "C" Q_DECL_EXPORT vorlo::InfoPageSource* vorlo_make_info_page_source(
    vorlo::InfoPageReady ready) {
    return new OnlineInfoPageSource(std::move(ready));
}
