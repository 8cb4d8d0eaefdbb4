// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An icon drawn in several files, one per size, that reads a file only when a
// size it covers is first asked for. Qt's own icons read every file as it is
// added; a window that starts on a 100% screen then decodes each 200% picture
// for nothing, before it can paint.

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

namespace vorlo {

struct IconFile {
    QString path;
    QSize size;  // in pixels: the size the file is drawn at
};

// The icon of `files`; nothing is read yet. The sizes it offers are the
// files' sizes, whether read or not.
QIcon DeferredFileIcon(const QList<IconFile>& files);

}  // namespace vorlo
