// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Open dialog lists riddles, not their solutions: a solution file
// (NAME.solution.vrl, NAME.solution-2.vrl ..., solution_files.h) whose riddle
// NAME.vrl lies beside it is hidden; folders and every other file stay, a
// solution named so but without its riddle too (it is no one's solution). Set on a dialog of Qt's
// own (QFileDialog::setProxyModel); a native dialog has no model to filter.

#include <QSortFilterProxyModel>

class RiddleFileFilter : public QSortFilterProxyModel {
public:
    explicit RiddleFileFilter(QObject* parent = nullptr);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
};
