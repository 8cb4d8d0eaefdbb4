#include "instructions_dlg.h"

namespace vorlo {

// The user guide, in Hebrew: how riddles are stored, how matches are moved and
// turned with the mouse, and what the toolbar offers.
QStringList CInstructionsDlg::InstructionLines() {
    return {
        QStringLiteral("כל חידת גפרורים מורכבת מתמונה של גפרורים"),
        QStringLiteral("ומהוראות כתובות המתארות מה וכיצד יש לשנות בה."),
        QStringLiteral("כל חידה נשמרת בקובץ נפרד. בתפריט File ניתן"),
        QStringLiteral("לאתחל, לטעון, לשמור ולהדפיס קבצי חידות."),
        QStringLiteral("הגפרורים שבתמונה ניתנים להזזה על-ידי העכבר."),
        QStringLiteral("הכפתור השמאלי - משמש לבחירת גפרור והזזתו."),
        QStringLiteral("הכפתור הימני - משמש לבחירת גפרור ולסיבובו."),
        QStringLiteral("הגפרור הבחור מחליף את צבע ראשו מאדום לכחול."),
        QStringLiteral("בשורת הכפתורים (toolbar) הנמצאת מתחת לתפריט"),
        QStringLiteral("יש כמה פעולות ייחודיות: הוסף גפרור, מחק את"),
        QStringLiteral("הגפרור הבחור, undo ועיגול ל-90 מעלות של הבחור."),
        QStringLiteral(""),
        QStringLiteral("בהצלחה."),
    };
}

}  // namespace vorlo
