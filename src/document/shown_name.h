// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File names and texts from outside as the window and vorlo-cli show them:
// controls, and in names the direction marks, as escapes (vorlo::
// EscapeForShowing), so that a name reads the same in a title, a message
// box, the status bar and on a terminal.

#include <QChar>
#include <QDir>
#include <QString>

#include <string_view>

#include "shown_text.h"

namespace vorlo {

inline QString EscapedAs(const QString& text, ShownEscapes which) {
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<size_t>(text.size()));
    return QString::fromStdU16String(EscapeForShowing(view, which));
}

inline QString ShownName(const QString& name) {
    return EscapedAs(name, ShownEscapes::ControlsAndDirections);
}

// A file's path or name as a sentence shows it: with the system's separators
// and escaped as ShownName does. In a right-to-left sentence it is isolated as
// left-to-right text (U+2066 ... U+2069), so that its slashes stay where
// they are and the sentence's punctuation stays outside it; the escapes leave
// no direction mark inside that could undo the isolation.
inline QString PathInSentence(const QString& path, bool rightToLeft) {
    const QString shown = ShownName(QDir::toNativeSeparators(path));
    return rightToLeft ? QChar(0x2066) + shown + QChar(0x2069) : shown;
}

inline QString ShownText(const QString& text) {
    return EscapedAs(text, ShownEscapes::Controls);
}

}  // namespace vorlo
