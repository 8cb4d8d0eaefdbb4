// SPDX-License-Identifier: GPL-3.0-or-later
#include "riddle_file_filter.h"

#include <QFile>
#include <QFileSystemModel>

#include "solution_files.h"

RiddleFileFilter::RiddleFileFilter(QObject* parent) : QSortFilterProxyModel(parent) {}

bool RiddleFileFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (files == nullptr) {
        return true;
    }
    const QModelIndex index = files->index(sourceRow, 0, sourceParent);
    if (files->isDir(index)) {
        return true;
    }
    // The path as the system spells it, as when the solutions are looked
    // for: a solution is known by its name and its riddle beside it.
    return !vorlo::RiddleOfSolution(QFile::encodeName(files->filePath(index)).toStdString());
}
