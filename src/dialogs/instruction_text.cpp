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

}  // namespace vorlo
