// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A riddle named by a file URL, as file managers pass them on the command
// line and in drops: only a file on this computer (no host, or
// "localhost"), and only a name that survives its conversion to text.

#include <QString>
#include <QUrl>

// The local path of `address`; empty, with the reason naming the address as
// `typed` shows it, when it is no file of this computer or its name is not
// UTF-8 (it would open another file).
QString RiddlePathFromFileUrl(const QUrl& address, const QString& typed, QString* error);
