// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Paths and file names set into the window's messages and tooltips, in the
// direction of the interface (see vorlo::PathInSentence).

#include <QGuiApplication>
#include <QString>

#include "shown_name.h"

inline QString SentencePath(const QString& path) {
    return vorlo::PathInSentence(path, QGuiApplication::isRightToLeft());
}
