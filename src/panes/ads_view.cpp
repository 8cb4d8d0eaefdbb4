#include "ads_view.h"

CAdsView::CAdsView(CVorloDoc* doc, QWidget* parent) : QTextBrowser(parent), doc_(doc) {
    setFocusPolicy(Qt::StrongFocus);
    setOpenLinks(false);
    doc_->AddView(this);
}

CAdsView::~CAdsView() {
    doc_->RemoveView(this);
}

void CAdsView::OnInitialUpdate() {
    // The information page is not bundled yet; the pane stays empty.
    clear();
}

void CAdsView::OnUpdate(int hint) {
    if (hint == vorlo::HintBoardChanged) {
        return;
    }
    viewport()->update();
}
