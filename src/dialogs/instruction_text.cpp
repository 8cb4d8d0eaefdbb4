// SPDX-License-Identifier: GPL-3.0-or-later
#include "instructions_dialog.h"

namespace vorlo {

// The user guide, in Hebrew: how riddles are stored, how matches are moved and
// turned with the mouse, and what the toolbar offers.
QStringList InstructionsDialog::InstructionLines() {
    return {
        tr("כל חידת גפרורים מורכבת מתמונה של גפרורים"),
        tr("ומהוראות כתובות המתארות מה וכיצד יש לשנות בה."),
        tr("כל חידה נשמרת בקובץ נפרד. בתפריט File ניתן"),
        tr("לאתחל, לטעון, לשמור ולהדפיס קבצי חידות."),
        tr("הגפרורים שבתמונה ניתנים להזזה על-ידי העכבר."),
        tr("הכפתור השמאלי - משמש לבחירת גפרור והזזתו."),
        tr("הכפתור הימני - משמש לבחירת גפרור ולסיבובו."),
        tr("הגפרור הבחור מחליף את צבע ראשו מאדום לכחול."),
        tr("בשורת הכפתורים (toolbar) הנמצאת מתחת לתפריט"),
        tr("יש כמה פעולות ייחודיות: הוסף גפרור, מחק את"),
        tr("הגפרור הבחור, undo ועיגול ל-90 מעלות של הבחור."),
        QString(),
        tr("בהצלחה."),
    };
}

// The same guide for the English interface, line for line.
QStringList InstructionsDialog::EnglishInstructionLines() {
    return {
        QStringLiteral("Every matchstick riddle is a picture of matches"),
        QStringLiteral("and a written task that says what to change and how."),
        QStringLiteral("Each riddle is kept in a file of its own. The File menu"),
        QStringLiteral("starts, opens, saves and prints riddle files."),
        QStringLiteral("The matches in the picture move with the mouse."),
        QStringLiteral("The left button selects a match and moves it."),
        QStringLiteral("The right button selects a match and turns it."),
        QStringLiteral("The selected match's head turns from red to blue."),
        QStringLiteral("The toolbar below the menu offers a few actions"),
        QStringLiteral("of its own: add a match, delete the selected match,"),
        QStringLiteral("undo, and round the selected match to 90 degrees."),
        QString(),
        QStringLiteral("Good luck."),
    };
}

}  // namespace vorlo
