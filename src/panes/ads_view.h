#pragma once

// The narrow information pane on the left. It shows a local page when there
// is one and ignores the board's changes.

#include <QTextBrowser>

#include "vorlo_doc.h"

class CAdsView : public QTextBrowser, public CDocView {
    Q_OBJECT

public:
    explicit CAdsView(CVorloDoc* doc, QWidget* parent = nullptr);
    ~CAdsView() override;

    // CDocView: loads the page anew.
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;

private:
    CVorloDoc* doc_;
};
