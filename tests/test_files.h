// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File helpers shared by the tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vorlo::test {

// The whole file; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace vorlo::test
