<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="he" sourcelanguage="en">
<context>
    <name>BoardAccessible</name>
    <message>
        <source>Match %1 of %2</source>
        <translation>גפרור %1 מתוך %2</translation>
    </message>
    <message>
        <source>One match.</source>
        <translation>גפרור אחד.</translation>
    </message>
    <message>
        <source>%1 matches.</source>
        <translation>%1 גפרורים.</translation>
    </message>
    <message>
        <source>head pointing right</source>
        <translation>הראש פונה ימינה</translation>
    </message>
    <message>
        <source>head pointing up and right</source>
        <translation>הראש פונה למעלה וימינה</translation>
    </message>
    <message>
        <source>head pointing up</source>
        <translation>הראש פונה למעלה</translation>
    </message>
    <message>
        <source>head pointing up and left</source>
        <translation>הראש פונה למעלה ושמאלה</translation>
    </message>
    <message>
        <source>head pointing left</source>
        <translation>הראש פונה שמאלה</translation>
    </message>
    <message>
        <source>head pointing down and left</source>
        <translation>הראש פונה למטה ושמאלה</translation>
    </message>
    <message>
        <source>head pointing down</source>
        <translation>הראש פונה למטה</translation>
    </message>
    <message>
        <source>head pointing down and right</source>
        <translation>הראש פונה למטה וימינה</translation>
    </message>
    <message>
        <source>head at %1 degrees</source>
        <translation>הראש בזווית של %1 מעלות</translation>
    </message>
    <message>
        <source>At %1, %2, %3</source>
        <translation>בנקודה %1, %2, %3</translation>
    </message>
    <message>
        <source>%1, selected</source>
        <translation>%1, נבחר</translation>
    </message>
</context>
<context>
    <name>BoardView</name>
    <message>
        <source>%1 matches</source>
        <translation>%1 גפרורים</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>לוח</translation>
    </message>
    <message>
        <source>The riddle&apos;s matches. Tab selects a match, the arrow keys move it, [ and ] turn it.</source>
        <translation>הגפרורים של החידה. Tab בוחר גפרור, מקשי החצים מזיזים אותו, [ ו־] מסובבים אותו.</translation>
    </message>
</context>
<context>
    <name>BookWindow</name>
    <message>
        <source>&amp;Add Folder...</source>
        <translation>הוספת תיקייה (&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Remove Folder</source>
        <translation>הסרת תיקייה (&amp;R)</translation>
    </message>
    <message>
        <source>Only &amp;unsolved</source>
        <translation>רק חידות שלא נפתרו (&amp;U)</translation>
    </message>
    <message>
        <source>Riddle Book</source>
        <translation>ספר החידות</translation>
    </message>
    <message>
        <source>&amp;Chapters</source>
        <translation>פרקים (&amp;C)</translation>
    </message>
    <message>
        <source>Chapters</source>
        <translation>פרקים</translation>
    </message>
    <message>
        <source>Show only unsolved riddles</source>
        <translation>הצגת החידות שלא נפתרו בלבד</translation>
    </message>
    <message>
        <source>Reading the riddles</source>
        <translation>קריאת החידות</translation>
    </message>
    <message>
        <source>Riddles</source>
        <translation>חידות</translation>
    </message>
    <message>
        <source>No riddles in this chapter</source>
        <translation>אין חידות בפרק הזה</translation>
    </message>
    <message>
        <source>%1 of %2 riddles unsolved</source>
        <translation>%1 מתוך %2 חידות לא נפתרו</translation>
    </message>
    <message>
        <source>1 riddle</source>
        <translation>חידה אחת</translation>
    </message>
    <message>
        <source>%1 riddles</source>
        <translation>%1 חידות</translation>
    </message>
    <message>
        <source>Add a Folder of Riddles</source>
        <translation>הוספת תיקיית חידות</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>Add a new match</source>
        <translation>הוספת גפרור חדש</translation>
    </message>
    <message>
        <source>Add match</source>
        <translation>הוספת גפרור</translation>
    </message>
    <message>
        <source>Remove selected match</source>
        <translation>מחיקת הגפרור הנבחר</translation>
    </message>
    <message>
        <source>Del match</source>
        <translation>מחיקת גפרור</translation>
    </message>
    <message>
        <source>Instructions...</source>
        <translation>הוראות...</translation>
    </message>
    <message>
        <source>Help in using this software</source>
        <translation>עזרה בשימוש בתוכנה</translation>
    </message>
    <message>
        <source>Rotate match to the nearest 90 degrees direction</source>
        <translation>סיבוב הגפרור לכיוון הקרוב שהוא כפולה של 90 מעלות</translation>
    </message>
    <message>
        <source>Rotate to nearest 90 degrees</source>
        <translation>סיבוב ל־90 המעלות הקרובות</translation>
    </message>
    <message>
        <source>&amp;Startup Message...</source>
        <translation>הודעת פתיחה (&amp;S)...</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>חדש (&amp;N)</translation>
    </message>
    <message>
        <source>Create a new riddle</source>
        <translation>יצירת חידה חדשה</translation>
    </message>
    <message>
        <source>New</source>
        <translation>חדש</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>פתיחה (&amp;O)...</translation>
    </message>
    <message>
        <source>Open a riddle from file</source>
        <translation>פתיחת חידה מקובץ</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>פתיחה</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>שמירה (&amp;S)</translation>
    </message>
    <message>
        <source>Save the riddle to file</source>
        <translation>שמירת החידה בקובץ</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>שמירה</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>שמירה בשם (&amp;A)...</translation>
    </message>
    <message>
        <source>Save the riddle to file with a new name</source>
        <translation>שמירת החידה בקובץ בשם חדש</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>שמירה בשם</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>הגדרות הדפסה (&amp;R)...</translation>
    </message>
    <message>
        <source>Change the printer and printing options</source>
        <translation>בחירת המדפסת ושינוי אפשרויות ההדפסה</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>הגדרות הדפסה</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>הדפסה (&amp;P)...</translation>
    </message>
    <message>
        <source>Print the riddle</source>
        <translation>הדפסת החידה</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>הדפסה</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>תצוגה לפני הדפסה (&amp;V)</translation>
    </message>
    <message>
        <source>Display full pages</source>
        <translation>הצגת עמודים מלאים</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>תצוגה לפני הדפסה</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>העתקה (&amp;C)</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard</source>
        <translation>העתקת הבחירה אל לוח הגזירים</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>העתקה</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>גזירה (&amp;T)</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard</source>
        <translation>גזירת הבחירה אל לוח הגזירים</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>גזירה</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>הדבקה (&amp;P)</translation>
    </message>
    <message>
        <source>Insert Clipboard contents</source>
        <translation>הדבקת התוכן שבלוח הגזירים</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>הדבקה</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>ביטול (&amp;U)</translation>
    </message>
    <message>
        <source>Undo the last action</source>
        <translation>ביטול הפעולה האחרונה</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>ביטול</translation>
    </message>
    <message>
        <source>&amp;About vorlo...</source>
        <translation>אודות vorlo (&amp;A)...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>הצגת מידע על התוכנה, מספר הגרסה וזכויות היוצרים</translation>
    </message>
    <message>
        <source>About</source>
        <translation>אודות</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>יציאה (&amp;X)</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save riddles</source>
        <translation>יציאה מהתוכנה; מציעה לשמור חידות</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>יציאה</translation>
    </message>
    <message>
        <source>Switch to the next window pane</source>
        <translation>מעבר לחלונית הבאה</translation>
    </message>
    <message>
        <source>Next Pane</source>
        <translation>החלונית הבאה</translation>
    </message>
    <message>
        <source>Switch back to the previous window pane</source>
        <translation>חזרה לחלונית הקודמת</translation>
    </message>
    <message>
        <source>Previous Pane</source>
        <translation>החלונית הקודמת</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>סרגל כלים (&amp;T)</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>הצגה או הסתרה של סרגל הכלים</translation>
    </message>
    <message>
        <source>Toggle ToolBar</source>
        <translation>הצגת סרגל הכלים</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>שורת מצב (&amp;S)</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>הצגה או הסתרה של שורת המצב</translation>
    </message>
    <message>
        <source>Toggle StatusBar</source>
        <translation>הצגת שורת המצב</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>קובץ (&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>עריכה (&amp;E)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>תצוגה (&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>עזרה (&amp;H)</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>מוכן</translation>
    </message>
    <message>
        <source>0   matches</source>
        <translation>0   גפרורים</translation>
    </message>
    <message>
        <source>CAP</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>Recent File</source>
        <translation>קובץ אחרון</translation>
    </message>
    <message>
        <source>Open this riddle</source>
        <translation>פתיחת החידה הזאת</translation>
    </message>
    <message>
        <source>&amp;Add Match</source>
        <translation>הוספת גפרור (&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Delete Match</source>
        <translation>מחיקת גפרור (&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Rotate to 90</source>
        <translation>סיבוב ל־90 מעלות (&amp;R)</translation>
    </message>
    <message>
        <source>Select &amp;Next Match</source>
        <translation>בחירת הגפרור הבא (&amp;N)</translation>
    </message>
    <message>
        <source>Select the match after the selected one</source>
        <translation>בחירת הגפרור שאחרי הגפרור הנבחר</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>הגפרור הבא</translation>
    </message>
    <message>
        <source>Select &amp;Previous Match</source>
        <translation>בחירת הגפרור הקודם (&amp;P)</translation>
    </message>
    <message>
        <source>Select the match before the selected one</source>
        <translation>בחירת הגפרור שלפני הגפרור הנבחר</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>הגפרור הקודם</translation>
    </message>
    <message>
        <source>&amp;Snap to Matches</source>
        <translation>הצמדה לגפרורים (&amp;S)</translation>
    </message>
    <message>
        <source>Make the ends of dragged and turned matches meet</source>
        <translation>הצמדת הקצוות של גפרורים שגוררים או מסובבים לקצוות של גפרורים אחרים</translation>
    </message>
    <message>
        <source>Snap to Matches</source>
        <translation>הצמדה לגפרורים</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>הגדלה (&amp;I)</translation>
    </message>
    <message>
        <source>Show the board larger</source>
        <translation>הצגת הלוח בגודל גדול יותר</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>הגדלה</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>הקטנה (&amp;O)</translation>
    </message>
    <message>
        <source>Show the board smaller</source>
        <translation>הצגת הלוח בגודל קטן יותר</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>הקטנה</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>גודל אמיתי (&amp;A)</translation>
    </message>
    <message>
        <source>Show the board at its actual size</source>
        <translation>הצגת הלוח בגודלו האמיתי</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>גודל אמיתי</translation>
    </message>
    <message>
        <source>Rever&amp;t to Saved</source>
        <translation>חזרה לגרסה השמורה (&amp;T)</translation>
    </message>
    <message>
        <source>Open the riddle again as it was last saved</source>
        <translation>פתיחת החידה מחדש כפי שנשמרה לאחרונה</translation>
    </message>
    <message>
        <source>Revert to Saved</source>
        <translation>חזרה לגרסה השמורה</translation>
    </message>
    <message>
        <source>Save as Sol&amp;ution</source>
        <translation>שמירה כפתרון (&amp;U)</translation>
    </message>
    <message>
        <source>Save the board as a solution of the riddle, beside its file</source>
        <translation>שמירת הלוח כפתרון של החידה, לצד קובץ החידה</translation>
    </message>
    <message>
        <source>Save as Solution</source>
        <translation>שמירה כפתרון</translation>
    </message>
    <message>
        <source>&amp;Export Picture...</source>
        <translation>ייצוא תמונה (&amp;E)...</translation>
    </message>
    <message>
        <source>Save a picture of the riddle as PNG, SVG or PDF</source>
        <translation>שמירת תמונה של החידה כ־PNG,‏ SVG או PDF</translation>
    </message>
    <message>
        <source>Export Picture</source>
        <translation>ייצוא תמונה</translation>
    </message>
    <message>
        <source>&amp;Match</source>
        <translation>גפרור (&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>חזרה (&amp;R)</translation>
    </message>
    <message>
        <source>Redo the previously undone action</source>
        <translation>חזרה על הפעולה שבוטלה</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>חזרה</translation>
    </message>
    <message>
        <source>&amp;Play Riddle</source>
        <translation>שחק בחידה (&amp;P)</translation>
    </message>
    <message>
        <source>Play the riddle: move its matches; its file is never changed</source>
        <translation>שחקו בחידה: הזיזו את גפרוריה; הקובץ שלה אינו משתנה לעולם</translation>
    </message>
    <message>
        <source>Play riddle</source>
        <translation>שחק בחידה</translation>
    </message>
    <message>
        <source>&amp;Restart Riddle</source>
        <translation>התחל מחדש (&amp;R)</translation>
    </message>
    <message>
        <source>Put every match back where the riddle has it</source>
        <translation>החזרת כל הגפרורים למקומם בחידה</translation>
    </message>
    <message>
        <source>Restart riddle</source>
        <translation>התחל מחדש</translation>
    </message>
    <message>
        <source>&amp;Hint</source>
        <translation>רמז (&amp;H)</translation>
    </message>
    <message>
        <source>Show a match that must move, then where it goes</source>
        <translation>הצגת גפרור שצריך להזיז, ואחר כך לאן</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>רמז</translation>
    </message>
    <message>
        <source>&amp;Game</source>
        <translation>משחק (&amp;G)</translation>
    </message>
    <message>
        <source>Riddle &amp;Book...</source>
        <translation>ספר החידות (&amp;B)...</translation>
    </message>
    <message>
        <source>Show every riddle at a glance, with what you have solved</source>
        <translation>כל החידות במבט אחד, ומה שכבר פתרתם</translation>
    </message>
    <message>
        <source>Riddle Book</source>
        <translation>ספר החידות</translation>
    </message>
    <message>
        <source>&amp;Next Unsolved</source>
        <translation>החידה הבאה שלא נפתרה (&amp;N)</translation>
    </message>
    <message>
        <source>Play the next riddle of the book that you have not solved</source>
        <translation>משחק בחידה הבאה בספר שעוד לא פתרתם</translation>
    </message>
    <message>
        <source>Next unsolved</source>
        <translation>הבאה שלא נפתרה</translation>
    </message>
</context>
<context>
    <name>InfoPane</name>
    <message>
        <source>Information</source>
        <translation>מידע</translation>
    </message>
    <message>
        <source>About the program and how to play</source>
        <translation>על התוכנה ועל דרך המשחק</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>vorlo</source>
        <translation>vorlo</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>הקובץ ⁦%1⁩ כבר קיים.
להחליף אותו?</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>סרגל כלים</translation>
    </message>
    <message>
        <source>%1[*] - vorlo</source>
        <translation>%1[*] - vorlo</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>לשמור את השינויים ב־⁦%1⁩?</translation>
    </message>
    <message>
        <source>Cannot open the riddle %1:
%2</source>
        <translation>לא ניתן לפתוח את החידה ⁦%1⁩:
%2</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>שמירה בשם</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>פתיחה</translation>
    </message>
    <message>
        <source>Vorlo riddle(*.vrl)</source>
        <translation>חידת vorlo (*.vrl)</translation>
    </message>
    <message>
        <source>Cannot save the riddle %1:
%2</source>
        <translation>לא ניתן לשמור את החידה ⁦%1⁩:
%2</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>שפה (&amp;L)</translation>
    </message>
    <message>
        <source>&amp;System</source>
        <translation>לפי המערכת (&amp;S)</translation>
    </message>
    <message>
        <source>The choice of language could not be saved in %1.</source>
        <translation>לא ניתן היה לשמור את בחירת השפה ב־⁦%1⁩.</translation>
    </message>
    <message>
        <source>The language changes when vorlo is started again.</source>
        <translation>השפה תתחלף בהפעלה הבאה של vorlo.</translation>
    </message>
    <message>
        <source>PNG picture (*.png)</source>
        <translation>תמונת PNG (*.png)</translation>
    </message>
    <message>
        <source>SVG drawing (*.svg)</source>
        <translation>ציור SVG (*.svg)</translation>
    </message>
    <message>
        <source>PDF document (*.pdf)</source>
        <translation>מסמך PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Export Picture</source>
        <translation>ייצוא תמונה</translation>
    </message>
    <message>
        <source>Include the task text below the picture</source>
        <translation>הוספת טקסט המשימה מתחת לתמונה</translation>
    </message>
    <message>
        <source>Cannot export the picture %1:
%2</source>
        <translation>לא ניתן לייצא את התמונה ⁦%1⁩:
%2</translation>
    </message>
    <message>
        <source>Exported the picture as %1</source>
        <translation>התמונה יוצאה כ־⁦%1⁩</translation>
    </message>
    <message>
        <source>Moved: %1</source>
        <translation>הוזזו: %1</translation>
    </message>
    <message>
        <source>Solved</source>
        <translation>נפתרה</translation>
    </message>
    <message>
        <source>Solved, with 1 match moved.</source>
        <translation>החידה נפתרה, בהזזת גפרור אחד.</translation>
    </message>
    <message>
        <source>Solved, with %1 matches moved.</source>
        <translation>החידה נפתרה, בהזזת %1 גפרורים.</translation>
    </message>
    <message>
        <source>Revert to the riddle as saved in %1?
The changes made since are lost.</source>
        <translation>לחזור לחידה כפי שנשמרה ב־⁦%1⁩?
השינויים שנעשו מאז יאבדו.</translation>
    </message>
    <message>
        <source>Cannot save the solution %1:
%2</source>
        <translation>לא ניתן לשמור את הפתרון ⁦%1⁩:
%2</translation>
    </message>
    <message>
        <source>Saved the solution as %1</source>
        <translation>הפתרון נשמר כ־⁦%1⁩</translation>
    </message>
    <message>
        <source>The solution %1 is left unread: it holds %2 matches, more than the %3 a solution of this riddle may hold.</source>
        <translation>הפתרון ⁦%1⁩ לא נקרא: יש בו %2 גפרורים, יותר מ־%3 שפתרון של החידה הזו יכול להכיל.</translation>
    </message>
    <message>
        <source>Exported the picture as %1; the task text was too long and was cut</source>
        <translation>התמונה יוצאה כ־⁦%1⁩; טקסט המשימה היה ארוך מדי ונחתך</translation>
    </message>
    <message>
        <source>Save the riddle to play it.</source>
        <translation>שמרו את החידה כדי לשחק בה.</translation>
    </message>
    <message>
        <source>Moves: %1 of %2</source>
        <translation>הזזות: %1 מתוך %2</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>משחק</translation>
    </message>
    <message>
        <source>Editing</source>
        <translation>עריכה</translation>
    </message>
    <message>
        <source>Move and turn the matches to solve the riddle; its file is never changed</source>
        <translation>הזיזו וסובבו את הגפרורים כדי לפתור את החידה; הקובץ שלה אינו משתנה</translation>
    </message>
    <message>
        <source>Build the riddle: add, move and delete matches</source>
        <translation>בניית החידה: הוספה, הזזה ומחיקה של גפרורים</translation>
    </message>
    <message>
        <source>Moves: %1</source>
        <translation>הזזות: %1</translation>
    </message>
    <message>
        <source>Solved in 1 move</source>
        <translation>החידה נפתרה בהזזה אחת</translation>
    </message>
    <message>
        <source>Solved in %1 moves</source>
        <translation>החידה נפתרה ב־%1 הזזות</translation>
    </message>
    <message>
        <source>%1, without a hint!</source>
        <translation>%1, בלי רמז!</translation>
    </message>
    <message>
        <source>%1, with 1 hint.</source>
        <translation>%1, עם רמז אחד.</translation>
    </message>
    <message>
        <source>%1, with %2 hints.</source>
        <translation>%1, עם %2 רמזים.</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>מצב</translation>
    </message>
    <message>
        <source>Match count</source>
        <translation>מספר הגפרורים</translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation>Caps Lock</translation>
    </message>
    <message>
        <source>Num Lock</source>
        <translation>Num Lock</translation>
    </message>
    <message>
        <source>Moves</source>
        <translation>מהלכים</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>אופן העבודה</translation>
    </message>
    <message>
        <source>Hint: move the match %1 to %2.</source>
        <translation>רמז: הזיזו את הגפרור %1 אל %2.</translation>
    </message>
    <message>
        <source>Hint: move the match %1.</source>
        <translation>רמז: הזיזו את הגפרור %1.</translation>
    </message>
    <message>
        <source>On</source>
        <translation>פועל</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>כבוי</translation>
    </message>
    <message>
        <source>Every riddle of the book is solved</source>
        <translation>כל החידות בספר נפתרו</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>אל תשמור</translation>
    </message>
    <message>
        <source>Tip: with Match &gt; Snap to Matches on, a match dropped this close to another one&apos;s end meets it exactly.</source>
        <translation>עצה: כשהפקודה גפרור ‏&gt; הצמדה לגפרורים פעילה, גפרור שמונח קרוב כל כך לקצה של גפרור אחר נצמד אליו בדיוק.</translation>
    </message>
</context>
<context>
    <name>PlaySession</name>
    <message>
        <source>The game could not be kept: %1</source>
        <translation>לא ניתן היה לשמור את המשחק: %1</translation>
    </message>
</context>
<context>
    <name>ProgressStore</name>
    <message>
        <source>it is damaged</source>
        <translation>הוא פגום</translation>
    </message>
    <message>
        <source>it was written by a newer version of the program</source>
        <translation>הוא נכתב בגרסה חדשה יותר של התכנית</translation>
    </message>
    <message>
        <source>it belongs to another riddle</source>
        <translation>הוא שייך לחידה אחרת</translation>
    </message>
    <message>
        <source>its moves do not fit this riddle</source>
        <translation>המהלכים שבו אינם מתאימים לחידה זו</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>גודלו עולה על %1 MB</translation>
    </message>
    <message>
        <source>it is a symbolic link, which is not followed</source>
        <translation>זהו קישור סימבולי, והתכנית אינה הולכת אחריו</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>אינו קובץ רגיל</translation>
    </message>
    <message>
        <source>The kept game of this riddle is not used (%1): it was set aside as %2, and the riddle starts afresh.</source>
        <translation>המשחק השמור של חידה זו אינו בשימוש (%1): הוא הועבר הצידה בשם ⁦%2⁩, והחידה מתחילה מחדש.</translation>
    </message>
    <message>
        <source>The kept game of this riddle is not used (%1), and the riddle starts afresh.</source>
        <translation>המשחק השמור של חידה זו אינו בשימוש (%1), והחידה מתחילה מחדש.</translation>
    </message>
    <message>
        <source>the riddle&apos;s key is not valid</source>
        <translation>המפתח של החידה אינו תקין</translation>
    </message>
    <message>
        <source>the game does not fit the riddle</source>
        <translation>המשחק אינו מתאים לחידה</translation>
    </message>
    <message>
        <source>the game has more moves than can be kept (%1 at most)</source>
        <translation>במשחק יש יותר מהלכים משאפשר לשמור (%1 לכל היותר)</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>שימוש: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>אפשרויות:</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>ארגומנטים:</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>הצגת עזרה על האפשרויות של שורת הפקודה.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>הצגת עזרה כולל האפשרויות של Qt.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>הצגת מידע על הגרסה.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>אפשרות לא מוכרת &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>אפשרויות לא מוכרות: %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>חסר ערך אחרי &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>ערך לא צפוי אחרי &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>RiddleBook</name>
    <message>
        <source>Equations</source>
        <translation>תרגילים</translation>
    </message>
    <message>
        <source>Squares</source>
        <translation>ריבועים</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>דוגמאות</translation>
    </message>
    <message>
        <source>My riddles</source>
        <translation>החידות שלי</translation>
    </message>
    <message>
        <source>Cannot be read</source>
        <translation>אי אפשר לקרוא</translation>
    </message>
    <message>
        <source>New</source>
        <translation>חדשה</translation>
    </message>
    <message>
        <source>Started, 1 move</source>
        <translation>התחלתם, הזזה אחת</translation>
    </message>
    <message>
        <source>Started, %1 moves</source>
        <translation>התחלתם, %1 הזזות</translation>
    </message>
    <message>
        <source>Solved in 1 move</source>
        <translation>נפתרה בהזזה אחת</translation>
    </message>
    <message>
        <source>Solved in %1 moves</source>
        <translation>נפתרה ב־%1 הזזות</translation>
    </message>
    <message>
        <source>%1, 1 hint</source>
        <translation>%1, רמז אחד</translation>
    </message>
    <message>
        <source>%1, %2 hints</source>
        <translation>%1, %2 רמזים</translation>
    </message>
    <message>
        <source>%1, cannot be read: %2</source>
        <translation>%1, אי אפשר לקרוא: %2</translation>
    </message>
    <message>
        <source>%1, new</source>
        <translation>%1, חדשה</translation>
    </message>
    <message>
        <source>%1, started, 1 move</source>
        <translation>%1, התחלתם, הזזה אחת</translation>
    </message>
    <message>
        <source>%1, started, %2 moves</source>
        <translation>%1, התחלתם, %2 הזזות</translation>
    </message>
    <message>
        <source>%1, solved in 1 move</source>
        <translation>%1, נפתרה בהזזה אחת</translation>
    </message>
    <message>
        <source>%1, solved in %2 moves</source>
        <translation>%1, נפתרה ב־%2 הזזות</translation>
    </message>
    <message>
        <source>%1, with 1 hint</source>
        <translation>%1, עם רמז אחד</translation>
    </message>
    <message>
        <source>%1, with %2 hints</source>
        <translation>%1, עם %2 רמזים</translation>
    </message>
    <message>
        <source>New: game set aside</source>
        <translation>חדשה: המשחק הועבר הצידה</translation>
    </message>
    <message>
        <source>%1, new: %2</source>
        <translation>%1, חדשה: %2</translation>
    </message>
</context>
<context>
    <name>RiddleDocument</name>
    <message>
        <source>riddle</source>
        <translation>חידה</translation>
    </message>
</context>
<context>
    <name>RiddleIo</name>
    <message>
        <source>is not a regular file</source>
        <translation>אינו קובץ רגיל</translation>
    </message>
    <message>
        <source>the file name is empty or holds a NUL character</source>
        <translation>שם הקובץ ריק או שיש בו תו NUL</translation>
    </message>
    <message>
        <source>the file is not writable (%1)</source>
        <translation>אין הרשאה לכתוב בקובץ (%1)</translation>
    </message>
    <message>
        <source>Only %1 of %2 bytes could be written: %3</source>
        <translation>רק %1 מתוך %2 בתים נכתבו: %3</translation>
    </message>
    <message>
        <source>The riddle&apos;s text is longer than a riddle file can hold (%1 MB at most).</source>
        <translation>הטקסט של החידה ארוך מכפי שקובץ חידה יכול להכיל (%1 MB לכל היותר).</translation>
    </message>
    <message>
        <source>ends inside the match count</source>
        <translation>נגמר באמצע מספר הגפרורים</translation>
    </message>
    <message>
        <source>declares %1 matches but holds only %2</source>
        <translation>מצהיר על %1 גפרורים אבל מכיל רק %2</translation>
    </message>
    <message>
        <source>has a text section of %1 bytes, more than a riddle&apos;s text can be</source>
        <translation>מכיל טקסט של %1 בתים, יותר מכפי שטקסט של חידה יכול להיות</translation>
    </message>
    <message>
        <source>has a text section of more than %1 bytes, more than a riddle&apos;s text can be</source>
        <translation>מכיל טקסט של יותר מ־%1 בתים, יותר מכפי שטקסט של חידה יכול להיות</translation>
    </message>
    <message>
        <source>is a folder, not a riddle file</source>
        <translation>הוא תיקייה ולא קובץ חידה</translation>
    </message>
    <message>
        <source>the file name holds a NUL character</source>
        <translation>יש בשם הקובץ תו NUL</translation>
    </message>
</context>
<context>
    <name>RiddlePrinter</name>
    <message>
        <source>The printer could not be started.</source>
        <translation>לא ניתן היה להפעיל את המדפסת.</translation>
    </message>
    <message>
        <source>The page could not be printed.</source>
        <translation>לא ניתן היה להדפיס את העמוד.</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>it is a symbolic link, which is not followed</source>
        <translation>זהו קישור סימבולי, והתכנית אינה הולכת אחריו</translation>
    </message>
    <message>
        <source>it is larger than %1 KB, far more than any settings take</source>
        <translation>גודלו עולה על %1 KB, הרבה מעבר לגודלן של הגדרות כלשהן</translation>
    </message>
    <message>
        <source>it is not a settings file</source>
        <translation>אין זה קובץ הגדרות</translation>
    </message>
    <message>
        <source>the settings file %1 is not used: %2. The program starts with its default settings, and changes are not kept while the file is so; it is left as it is.</source>
        <translation>קובץ ההגדרות ⁦%1⁩ אינו בשימוש: %2. התכנית מתחילה בהגדרות ברירת המחדל שלה, ושינויים אינם נשמרים כל עוד הקובץ כך; הקובץ נשאר כפי שהוא.</translation>
    </message>
</context>
<context>
    <name>System</name>
    <message>
        <source>No such file or directory</source>
        <translation>אין קובץ או תיקייה כאלה</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>אין הרשאה</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>זוהי תיקייה</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>אינו תיקייה</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>לא נשאר מקום בהתקן</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>מערכת הקבצים לקריאה בלבד</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>שגיאת קלט/פלט</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>שם הקובץ ארוך מדי</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>יותר מדי רמות של קישורים סמליים</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>הקובץ גדול מדי</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>חריגה ממכסת הדיסק</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>הפעולה אינה מותרת</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>יותר מדי קבצים פתוחים</translation>
    </message>
</context>
<context>
    <name>TaskPane</name>
    <message>
        <source>Task</source>
        <translation>המשימה</translation>
    </message>
    <message>
        <source>The riddle&apos;s task: what the player must do</source>
        <translation>משימת החידה: מה על השחקן לעשות</translation>
    </message>
</context>
<context>
    <name>VorloApplication</name>
    <message>
        <source>Print FILE on the default printer and exit.</source>
        <translation>הדפסת FILE במדפסת ברירת המחדל ויציאה.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>Matchstick riddles: play and build them.</source>
        <translation>חידות גפרורים: לפתור ולבנות.</translation>
    </message>
    <message>
        <source>The riddle (.vrl) to open.</source>
        <translation>החידה (‎.vrl) לפתיחה.</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[FILE]</translation>
    </message>
    <message>
        <source>%1: only files on this computer can be opened</source>
        <translation>%1: ניתן לפתוח רק קבצים שבמחשב הזה</translation>
    </message>
    <message>
        <source>%1: the file&apos;s name cannot be read (it is not UTF-8)</source>
        <translation>%1: לא ניתן לקרוא את שם הקובץ (הוא אינו UTF-8)</translation>
    </message>
    <message>
        <source>give at most one riddle file</source>
        <translation>יש לתת קובץ חידה אחד לכל היותר</translation>
    </message>
    <message>
        <source>there is no default printer to print %1 on</source>
        <translation>אין מדפסת ברירת מחדל להדפסת %1</translation>
    </message>
    <message>
        <source>there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Run it under a virtual X server, for example:</source>
        <translation>אין תצוגה שבה אפשר להציג את החלון (DISPLAY ו־WAYLAND_DISPLAY אינם מוגדרים).
אפשר להריץ את התוכנה בשרת X מדומה, למשל:</translation>
    </message>
    <message>
        <source>Open FILE to play it, also when it has no solutions beside it.</source>
        <translation>פתיחת FILE למשחק, גם כשאין לידו פתרונות.</translation>
    </message>
    <message>
        <source>--play needs a riddle file</source>
        <translation>‏--play צריך קובץ חידה</translation>
    </message>
</context>
<context>
    <name>vorlo</name>
    <message>
        <source>cannot draw the picture</source>
        <translation>לא ניתן לצייר את התמונה</translation>
    </message>
</context>
<context>
    <name>vorlo-cli</name>
    <message>
        <source>is longer than a riddle&apos;s text can be (%1 MB at most)</source>
        <translation>ארוך מכפי שטקסט של חידה יכול להיות (%1 MB לכל היותר)</translation>
    </message>
    <message>
        <source>-o FILE [--text TEXT | --text-file PATH] [--text-encoding ENCODING] [x,y,angle ...]</source>
        <translation>-o FILE [--text TEXT | --text-file PATH] [--text-encoding ENCODING] [x,y,angle ...]</translation>
    </message>
    <message>
        <source>Writes a riddle with the given matches, in that order, and text.
A negative coordinate needs no quoting: create -o a.vrl -5,7,-30</source>
        <translation>כותב חידה עם הגפרורים הנתונים, בסדר הזה, ועם הטקסט.
קואורדינטה שלילית אינה צריכה מירכאות: create -o a.vrl -5,7,-30</translation>
    </message>
    <message>
        <source>The riddle file to write; - writes it to standard output.</source>
        <translation>קובץ החידה לכתיבה; ‎- כותב אותו לפלט התקני.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>The task text: \n between paragraphs, \\ for a backslash.</source>
        <translation>טקסט המשימה: ‎\n בין פסקאות, ‎\\ ללוכסן הפוך.</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>TEXT</translation>
    </message>
    <message>
        <source>Read the task text from a file (- for standard input), one paragraph a line; the last line&apos;s line end is not a paragraph break.</source>
        <translation>קריאת טקסט המשימה מקובץ (‎- לקלט התקני), פסקה בכל שורה; סוף השורה האחרונה אינו מעבר פסקה.</translation>
    </message>
    <message>
        <source>PATH</source>
        <translation>PATH</translation>
    </message>
    <message>
        <source>How the text is written: utf-8 (the default) or cp1255.</source>
        <translation>קידוד הטקסט בקובץ: utf-8 (ברירת המחדל) או cp1255.</translation>
    </message>
    <message>
        <source>ENCODING</source>
        <translation>ENCODING</translation>
    </message>
    <message>
        <source>MATCH</source>
        <translation>MATCH</translation>
    </message>
    <message>
        <source>A match as x,y,angle (whole numbers).</source>
        <translation>גפרור בצורה x,y,angle (מספרים שלמים).</translation>
    </message>
    <message>
        <source>-o FILE is required</source>
        <translation>חובה לתת ‎-o FILE</translation>
    </message>
    <message>
        <source>give --text or --text-file, not both</source>
        <translation>יש לתת ‎--text או ‎--text-file, לא את שניהם</translation>
    </message>
    <message>
        <source>--text-encoding wants utf-8 or cp1255, not &apos;%1&apos;</source>
        <translation>‎--text-encoding מקבל utf-8 או cp1255, לא &apos;%1&apos;</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a match: write x,y,angle as whole numbers</source>
        <translation>&apos;%1&apos; אינו גפרור: יש לכתוב x,y,angle במספרים שלמים</translation>
    </message>
    <message>
        <source>the name is not UTF-8 and cannot be represented</source>
        <translation>השם אינו UTF-8 ואי אפשר לייצג אותו</translation>
    </message>
    <message>
        <source>--text is not UTF-8 text</source>
        <translation>‎--text אינו טקסט UTF-8</translation>
    </message>
    <message>
        <source>not UTF-8 text</source>
        <translation>אינו טקסט UTF-8</translation>
    </message>
    <message>
        <source>box %1 %2 %3 %4</source>
        <translation>תיבה %1 %2 %3 %4</translation>
    </message>
    <message>
        <source>no matches</source>
        <translation>אין גפרורים</translation>
    </message>
    <message>
        <source>%1: %2 matches, %3, text %4 characters
</source>
        <translation>%1: %2 גפרורים, %3, טקסט של %4 תווים
</translation>
    </message>
    <message>
        <source>%1: %2 matches
</source>
        <translation>%1: %2 גפרורים
</translation>
    </message>
    <message>
        <source>text: (none)
</source>
        <translation>טקסט: (אין)
</translation>
    </message>
    <message>
        <source>text:
</source>
        <translation>טקסט:
</translation>
    </message>
    <message>
        <source>[--json] [--summary] FILE...</source>
        <translation>[--json] [--summary] FILE...</translation>
    </message>
    <message>
        <source>Prints the matches and the text of riddles.</source>
        <translation>מדפיס את הגפרורים ואת הטקסט של חידות.</translation>
    </message>
    <message>
        <source>One JSON object per riddle, one per line.</source>
        <translation>אובייקט JSON אחד לכל חידה, אחד בכל שורה.</translation>
    </message>
    <message>
        <source>One line per riddle instead of its matches and text:
FILE: N matches, box MINX MINY MAXX MAXY, text L characters
The box holds the match points (&quot;no matches&quot; when there
are none); L counts the Unicode characters of the text.
With --json: {&quot;box&quot;:[MINX,MINY,MAXX,MAXY] or null,
&quot;file&quot;:...,&quot;matches&quot;:N,&quot;text_length&quot;:L}.</source>
        <translation>שורה אחת לכל חידה במקום הגפרורים והטקסט שלה:
FILE: N גפרורים, תיבה MINX MINY MAXX MAXY, טקסט של L תווים
התיבה מכילה את נקודות הגפרורים (&quot;אין גפרורים&quot; כשאין
אף אחד); L סופר את תווי היוניקוד של הטקסט.
עם ‎--json: {&quot;box&quot;:[MINX,MINY,MAXX,MAXY] או null,
&quot;file&quot;:...,&quot;matches&quot;:N,&quot;text_length&quot;:L}.</translation>
    </message>
    <message>
        <source>Riddle files (.vrl).</source>
        <translation>קובצי חידה (‎.vrl).</translation>
    </message>
    <message>
        <source>no riddle file given</source>
        <translation>לא ניתן קובץ חידה</translation>
    </message>
    <message>
        <source>cannot draw the picture</source>
        <translation>לא ניתן לצייר את התמונה</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>אינו קובץ רגיל</translation>
    </message>
    <message>
        <source>Draws a riddle&apos;s matches as PNG, SVG or PDF, chosen by the output&apos;s extension.
Without --size the picture shows the matches with a margin, one pixel per
board pixel, scaled down to at most 8192 pixels a side.</source>
        <translation>מצייר את גפרורי החידה כ־PNG,‏ SVG או PDF, לפי הסיומת של קובץ הפלט.
בלי ‎--size התמונה מראה את הגפרורים עם שוליים, פיקסל אחד לכל
פיקסל של הלוח, מוקטנת ל־8192 פיקסלים לכל צלע לכל היותר.</translation>
    </message>
    <message>
        <source>The picture to write (.png, .svg or .pdf); - writes it to standard output.</source>
        <translation>התמונה לכתיבה (‎.png,‏ ‎.svg או ‎.pdf); ‎- כותב אותה לפלט התקני.</translation>
    </message>
    <message>
        <source>OUT</source>
        <translation>OUT</translation>
    </message>
    <message>
        <source>png, svg or pdf, whatever the output&apos;s name (png for standard output).</source>
        <translation>png,‏ svg או pdf, בלי קשר לשם קובץ הפלט (png לפלט התקני).</translation>
    </message>
    <message>
        <source>FORMAT</source>
        <translation>FORMAT</translation>
    </message>
    <message>
        <source>Scale the picture to fit inside W x H pixels (at most 8192 a side), keeping its proportions.</source>
        <translation>שינוי גודל התמונה כך שתיכנס ב־W x H פיקסלים (8192 לכל צלע לכל היותר), בשמירה על היחס בין הצלעות.</translation>
    </message>
    <message>
        <source>WxH</source>
        <translation>WxH</translation>
    </message>
    <message>
        <source>Draw match N with the blue head of the selection; matches count from 1 in file order, 0 selects none (default).</source>
        <translation>ציור גפרור N עם הראש הכחול של הבחירה; הגפרורים נספרים מ־1 לפי סדרם בקובץ, 0 לא בוחר אף אחד (ברירת המחדל).</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>Board pixels of white around the matches (default 10).</source>
        <translation>פיקסלים לבנים של הלוח סביב הגפרורים (ברירת המחדל 10).</translation>
    </message>
    <message>
        <source>PX</source>
        <translation>PX</translation>
    </message>
    <message>
        <source>The riddle (.vrl).</source>
        <translation>החידה (‎.vrl).</translation>
    </message>
    <message>
        <source>give exactly one riddle file</source>
        <translation>יש לתת קובץ חידה אחד בדיוק</translation>
    </message>
    <message>
        <source>no output given (-o OUT)</source>
        <translation>לא ניתן פלט (‎-o OUT)</translation>
    </message>
    <message>
        <source>--format wants png, svg or pdf, not &apos;%1&apos;</source>
        <translation>‎--format מקבל png,‏ svg או pdf, לא &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1: the output must end in .png, .svg or .pdf (or give --format)</source>
        <translation>%1: שם הפלט חייב להסתיים ב־‎.png,‏ ‎.svg או ‎.pdf (או לתת ‎--format)</translation>
    </message>
    <message>
        <source>--size wants WxH, each from 1 to %1, not &apos;%2&apos;</source>
        <translation>‎--size מקבל WxH, כל אחד מ־1 עד %1, לא &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--margin wants a number from 0 to %1, not &apos;%2&apos;</source>
        <translation>‎--margin מקבל מספר מ־0 עד %1, לא &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--selected wants a match number, not &apos;%1&apos;</source>
        <translation>‎--selected מקבל מספר של גפרור, לא &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--selected %1: %2 holds %3 matches</source>
        <translation>‎--selected %1: ב־%2 יש %3 גפרורים</translation>
    </message>
    <message>
        <source>IN OUT SIZE</source>
        <translation>IN OUT SIZE</translation>
    </message>
    <message>
        <source>Writes a PNG preview of a riddle of at most SIZE x SIZE pixels (SIZE at most 1024), for file managers. Draws at most the first 200000 matches.</source>
        <translation>כותב תצוגה מקדימה של חידה כ־PNG בגודל SIZE x SIZE פיקסלים לכל היותר (SIZE עד 1024), למנהלי קבצים. מצייר לכל היותר את 200000 הגפרורים הראשונים.</translation>
    </message>
    <message>
        <source>IN</source>
        <translation>IN</translation>
    </message>
    <message>
        <source>The PNG to write.</source>
        <translation>קובץ ה־PNG לכתיבה.</translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation>SIZE</translation>
    </message>
    <message>
        <source>The longest side in pixels.</source>
        <translation>הצלע הארוכה בפיקסלים.</translation>
    </message>
    <message>
        <source>wants IN OUT SIZE</source>
        <translation>מקבל IN OUT SIZE</translation>
    </message>
    <message>
        <source>SIZE wants a number of pixels, not &apos;%1&apos;</source>
        <translation>SIZE מקבל מספר פיקסלים, לא &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>הצגת העזרה הזאת.</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>אפשרות לא מוכרת &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; takes no value</source>
        <translation>האפשרות &apos;%1&apos; אינה מקבלת ערך</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; wants a value (%2)</source>
        <translation>האפשרות &apos;%1&apos; צריכה ערך (%2)</translation>
    </message>
    <message>
        <source>Usage: vorlo-cli %1 %2</source>
        <translation>שימוש: vorlo-cli %1 %2</translation>
    </message>
    <message>
        <source>vorlo-cli: no command given
</source>
        <translation>vorlo-cli: לא ניתנה פקודה
</translation>
    </message>
    <message>
        <source>vorlo-cli: unknown command &apos;%1&apos;
</source>
        <translation>vorlo-cli: פקודה לא מוכרת &apos;%1&apos;
</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>הפלט התקני</translation>
    </message>
    <message>
        <source>vorlo-cli: standard output is closed</source>
        <translation>vorlo-cli: הפלט התקני סגור</translation>
    </message>
    <message>
        <source>could not be written</source>
        <translation>לא ניתן היה לכתוב</translation>
    </message>
    <message>
        <source>FILE -o OUT [--format FORMAT] [--size WxH] [--selected N] [--margin PX] [--with-text]</source>
        <translation>FILE -o OUT [--format FORMAT] [--size WxH] [--selected N] [--margin PX] [--with-text]</translation>
    </message>
    <message>
        <source>Draw the riddle&apos;s task text below the matches, flush right as the window shows it.</source>
        <translation>ציור טקסט המשימה של החידה מתחת לגפרורים, מיושר לימין כפי שהחלון מציג אותו.</translation>
    </message>
    <message>
        <source>RIDDLE ATTEMPT | --solution SOLUTION [--riddle RIDDLE] ATTEMPT</source>
        <translation>RIDDLE ATTEMPT | --solution SOLUTION [--riddle RIDDLE] ATTEMPT</translation>
    </message>
    <message>
        <source>The solution to compare with.</source>
        <translation>הפתרון להשוואה.</translation>
    </message>
    <message>
        <source>SOLUTION</source>
        <translation>SOLUTION</translation>
    </message>
    <message>
        <source>The riddle, to count the moved matches.</source>
        <translation>החידה, לספירת הגפרורים שהוזזו.</translation>
    </message>
    <message>
        <source>RIDDLE</source>
        <translation>RIDDLE</translation>
    </message>
    <message>
        <source>ATTEMPT</source>
        <translation>ATTEMPT</translation>
    </message>
    <message>
        <source>The board to check (.vrl).</source>
        <translation>הלוח לבדיקה (‎.vrl).</translation>
    </message>
    <message>
        <source>give one attempt after the solution</source>
        <translation>יש לתת ניסיון אחד אחרי הפתרון</translation>
    </message>
    <message>
        <source>give a riddle and an attempt</source>
        <translation>יש לתת חידה וניסיון</translation>
    </message>
    <message>
        <source>--riddle goes with --solution</source>
        <translation>‎--riddle ניתן רק יחד עם ‎--solution</translation>
    </message>
    <message>
        <source>the riddle has no solution files</source>
        <translation>לחידה אין קובצי פתרון</translation>
    </message>
    <message>
        <source>left unread: it holds %1 matches, more than the %2 a solution of the riddle may hold</source>
        <translation>לא נקרא: יש בו %1 גפרורים, יותר מ־%2 שפתרון של החידה יכול להכיל</translation>
    </message>
    <message>
        <source>the task text was too long for the picture and was cut after %1 lines</source>
        <translation>טקסט המשימה היה ארוך מדי לתמונה ונחתך אחרי %1 שורות</translation>
    </message>
    <message>
        <source>Says whether ATTEMPT solves the riddle: &quot;solved&quot; (status 0) or &quot;not solved&quot;
(status 1), with the number of matches moved: the attempt&apos;s matches left over
when they are paired, stick for stick, with the riddle&apos;s. Given RIDDLE, its
solution files (RIDDLE.solution.vrl, RIDDLE.solution-2.vrl, ...) are the
solutions; an equation or squares riddle is solved by any answer of the rule
they show (as many moves, as many squares), stored or not. A solution&apos;s
riddle is taken from --riddle or else from the solution&apos;s name; without
one, the moved count is left out.</source>
        <translation>אומר אם ATTEMPT פותר את החידה: &quot;נפתרה&quot; (סטטוס 0) או &quot;לא נפתרה&quot;
(סטטוס 1), עם מספר הגפרורים שהוזזו: הגפרורים של הניסיון שנשארים
בלי זוג כשמזווגים אותם, מקל מול מקל, עם הגפרורים של החידה. כשניתנת RIDDLE,
קובצי הפתרון שלה (‎RIDDLE.solution.vrl,‏ ‎RIDDLE.solution-2.vrl, ...) הם
הפתרונות; חידת משוואה או חידת ריבועים נפתרת בכל תשובה לפי הכלל
שהם מראים (אותו מספר מהלכים, אותו מספר ריבועים), שמורה או לא. החידה של
פתרון נלקחת מ־‎--riddle או משם קובץ הפתרון; כשאין חידה, מספר
הגפרורים שהוזזו אינו מודפס.</translation>
    </message>
    <message>
        <source>%1 wants a whole number from %2 to %3, not &apos;%4&apos;</source>
        <translation>‏%1 מקבל מספר שלם מ־%2 עד %3, לא &apos;%4&apos;</translation>
    </message>
    <message>
        <source>1 move</source>
        <translation>מהלך אחד</translation>
    </message>
    <message>
        <source>%1 moves</source>
        <translation>%1 מהלכים</translation>
    </message>
    <message>
        <source>no answer within 1 move</source>
        <translation>אין תשובה בתוך מהלך אחד</translation>
    </message>
    <message>
        <source>no answer within %1 moves</source>
        <translation>אין תשובה בתוך %1 מהלכים</translation>
    </message>
    <message>
        <source>1 answer within 1 move</source>
        <translation>תשובה אחת בתוך מהלך אחד</translation>
    </message>
    <message>
        <source>1 answer within %1 moves</source>
        <translation>תשובה אחת בתוך %1 מהלכים</translation>
    </message>
    <message>
        <source>%1 answers within 1 move</source>
        <translation>%1 תשובות בתוך מהלך אחד</translation>
    </message>
    <message>
        <source>%1 answers within %2 moves</source>
        <translation>%1 תשובות בתוך %2 מהלכים</translation>
    </message>
    <message>
        <source>TEXT -o FILE</source>
        <translation>TEXT -o FILE</translation>
    </message>
    <message>
        <source>Draws an equation such as 5+7=2 as a riddle of seven-segment digits and
operators, with the task of moving one match to make it true.</source>
        <translation>מצייר משוואה כמו ‎5+7=2 כחידה של ספרות בנות שבעה מקטעים ושל
סימנים, עם המשימה להזיז גפרור אחד כדי שתהיה נכונה.</translation>
    </message>
    <message>
        <source>The equation: digits 0-9, +, - and =.</source>
        <translation>המשוואה: הספרות 0–9 והסימנים +,‏ - ו־=.</translation>
    </message>
    <message>
        <source>give one equation</source>
        <translation>יש לתת משוואה אחת</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be drawn: &apos;%2&apos; is none of the digits 0-9, +, - and =</source>
        <translation>אי אפשר לצייר את &apos;%1&apos;: &apos;%2&apos; אינו אחת מהספרות 0–9 או מהסימנים +,‏ - ו־=</translation>
    </message>
    <message>
        <source>an equation has 1 to %1 digits and signs</source>
        <translation>במשוואה יש מ־1 עד %1 ספרות וסימנים</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be drawn</source>
        <translation>אי אפשר לצייר את &apos;%1&apos;</translation>
    </message>
    <message>
        <source>vorlo-cli equation: warning: the picture of &apos;%1&apos; does not read back as that equation (one needs a horizontal match), so solve and check do not take it for one</source>
        <translation>vorlo-cli equation: אזהרה: הציור של &apos;%1&apos; אינו נקרא בחזרה כאותה משוואה (משוואה צריכה גפרור אופקי), ולכן solve ו־check אינם מכירים בו כמשוואה</translation>
    </message>
    <message>
        <source>FILE [--moves N] [--squares K] [--json] [--write-solutions]</source>
        <translation>FILE [--moves N] [--squares K] [--json] [--write-solutions]</translation>
    </message>
    <message>
        <source>Lists every answer of an equation or squares riddle, told from its picture:
each equation that N moves make true, or each way of moving at most N
matches that leaves exactly K squares. N and K are those of the riddle&apos;s
solution files unless given. Status 0 with answers, 1 without, 2 for a file
that is no such riddle.</source>
        <translation>מונה כל תשובה של חידת משוואה או חידת ריבועים, שסוגה ניכר מציורה:
כל משוואה ש־N מהלכים הופכים לנכונה, או כל דרך להזיז N גפרורים לכל היותר
כך שיישארו בדיוק K ריבועים. N ו־K הם אלה של קובצי הפתרון של החידה,
אלא אם ניתנו. סטטוס 0 כשיש תשובות, 1 כשאין, 2 לקובץ שאינו
חידה כזו.</translation>
    </message>
    <message>
        <source>The most matches an answer moves.</source>
        <translation>מספר הגפרורים המרבי שתשובה מזיזה.</translation>
    </message>
    <message>
        <source>Squares riddles: the squares an answer leaves.</source>
        <translation>חידות ריבועים: מספר הריבועים שתשובה משאירה.</translation>
    </message>
    <message>
        <source>One JSON object: {&quot;family&quot;, &quot;riddle&quot; (equations), &quot;moves&quot;, &quot;squares&quot; (squares), &quot;answers&quot;: [{&quot;text&quot; (equations), &quot;moved&quot;, &quot;matches&quot;}]}.</source>
        <translation>אובייקט JSON אחד: ‎{&quot;family&quot;, &quot;riddle&quot; (משוואות), &quot;moves&quot;, &quot;squares&quot; (ריבועים), &quot;answers&quot;: [{&quot;text&quot; (משוואות), &quot;moved&quot;, &quot;matches&quot;}]}.</translation>
    </message>
    <message>
        <source>Write each answer that no solution file holds yet as the riddle&apos;s next solution file.</source>
        <translation>כתיבת כל תשובה שאף קובץ פתרון אינו מכיל עדיין כקובץ הפתרון הבא של החידה.</translation>
    </message>
    <message>
        <source>give one riddle file</source>
        <translation>יש לתת קובץ חידה אחד</translation>
    </message>
    <message>
        <source>is not an equation or squares riddle: its matches do not each lie on a place of their own</source>
        <translation>אינו חידת משוואה או חידת ריבועים: לא כל גפרור שלו מונח במקום משלו</translation>
    </message>
    <message>
        <source>--squares is for squares riddles; %1 is an equation</source>
        <translation>‎--squares מיועד לחידות ריבועים; ⁦%1⁩ היא משוואה</translation>
    </message>
    <message>
        <source>give --moves N</source>
        <translation>יש לתת ‎--moves N</translation>
    </message>
    <message>
        <source>give --squares K</source>
        <translation>יש לתת ‎--squares K</translation>
    </message>
    <message>
        <source>give --moves N and --squares K</source>
        <translation>יש לתת ‎--moves N ו־‎--squares K</translation>
    </message>
    <message>
        <source>%1 has no solution files to take the rule from: %2</source>
        <translation>לחידה ⁦%1⁩ אין קובצי פתרון שמהם אפשר ללמוד את הכלל: %2</translation>
    </message>
    <message>
        <source>squares on %1 x %2 cells: %3, leaving %4</source>
        <translation>ריבועים על ‎%1 x %2 משבצות: %3, ונשארים %4</translation>
    </message>
    <message>
        <source>1 square</source>
        <translation>ריבוע אחד</translation>
    </message>
    <message>
        <source>%1 squares</source>
        <translation>%1 ריבועים</translation>
    </message>
    <message>
        <source>equation %1: %2</source>
        <translation>משוואה ⁦%1⁩: %2</translation>
    </message>
    <message>
        <source>answer %1 (%2): %3</source>
        <translation>תשובה %1 (%2): ⁦%3⁩</translation>
    </message>
    <message>
        <source>answer %1 is stored in %2</source>
        <translation>תשובה %1 שמורה ב־⁦%2⁩</translation>
    </message>
    <message>
        <source>answer %1 written to %2</source>
        <translation>תשובה %1 נכתבה ל־⁦%2⁩</translation>
    </message>
    <message>
        <source>equations|squares -o DIR [--count C] [--moves N] [--seed S]</source>
        <translation>equations|squares -o DIR [--count C] [--moves N] [--seed S]</translation>
    </message>
    <message>
        <source>Makes new riddles, each with all its answers as solution files:
DIR/equation-001.vrl, DIR/equation-001.solution.vrl, ... (squares-001.vrl
for squares). The same seed makes the same files. A file that exists with
other bytes is never replaced.</source>
        <translation>יוצר חידות חדשות, כל אחת עם כל התשובות שלה כקובצי פתרון:
‎DIR/equation-001.vrl,‏ ‎DIR/equation-001.solution.vrl, ...‏ (‎squares-001.vrl
לריבועים). אותו זרע יוצר אותם קבצים. קובץ שקיים עם
תוכן אחר לעולם אינו מוחלף.</translation>
    </message>
    <message>
        <source>The folder to write to; made when missing.</source>
        <translation>התיקייה שאליה כותבים; נוצרת כשאינה קיימת.</translation>
    </message>
    <message>
        <source>DIR</source>
        <translation>DIR</translation>
    </message>
    <message>
        <source>How many riddles (default 10).</source>
        <translation>כמה חידות (ברירת המחדל 10).</translation>
    </message>
    <message>
        <source>The moves of every riddle: 1 or 2 for equations, 1 to 4 for squares (default: each riddle its own).</source>
        <translation>מספר המהלכים של כל חידה: 1 או 2 למשוואות, 1 עד 4 לריבועים (ברירת המחדל: לכל חידה משלה).</translation>
    </message>
    <message>
        <source>Where the riddles start from, a whole number (default 1).</source>
        <translation>נקודת המוצא של החידות, מספר שלם (ברירת המחדל 1).</translation>
    </message>
    <message>
        <source>FAMILY</source>
        <translation>FAMILY</translation>
    </message>
    <message>
        <source>equations or squares.</source>
        <translation>‏equations (משוואות) או squares (ריבועים).</translation>
    </message>
    <message>
        <source>give the family: equations or squares</source>
        <translation>יש לתת את סוג החידות: equations או squares</translation>
    </message>
    <message>
        <source>-o DIR is required</source>
        <translation>חובה לתת ‎-o DIR</translation>
    </message>
    <message>
        <source>exists with other contents and is left as it is; nothing was written</source>
        <translation>קיים עם תוכן אחר ונשאר כמו שהוא; דבר לא נכתב</translation>
    </message>
    <message>
        <source>vorlo-cli generate: only %1 of the %2 riddles asked for could be made</source>
        <translation>vorlo-cli generate: רק %1 מתוך %2 החידות שהתבקשו נוצרו</translation>
    </message>
    <message>
        <source>Usage: vorlo-cli COMMAND [options] [arguments]

Commands:
  info [--json] FILE...        print the matches and the text of riddles
  create -o FILE [--text TEXT | --text-file PATH] [--text-encoding ENCODING]
         [x,y,angle ...]       write a riddle
  render FILE -o OUT [--format FORMAT] [--size WxH] [--selected N] [--margin PX]
         [--with-text]
                               draw a riddle as PNG, SVG or PDF
  thumbnail IN OUT SIZE        a PNG preview of at most SIZE x SIZE
  check RIDDLE ATTEMPT | check --solution SOLUTION [--riddle RIDDLE] ATTEMPT
                               whether ATTEMPT solves the riddle, and the
                               number of matches moved
  equation TEXT -o FILE        draw an equation (5+7=2) as a riddle
  solve FILE [--moves N] [--squares K] [--json] [--write-solutions]
                               every answer of an equation or squares riddle
  generate equations|squares -o DIR [--count C] [--moves N] [--seed S]
                               make new riddles with their solution files

vorlo-cli COMMAND --help shows the options of one command. An output of -
is standard output; negative coordinates need no quoting (-5,7,-30).
Options: --help, --version
</source>
        <translation>שימוש: vorlo-cli COMMAND [options] [arguments]

פקודות:
  info [--json] FILE...        הדפסת הגפרורים והטקסט של חידות
  create -o FILE [--text TEXT | --text-file PATH] [--text-encoding ENCODING]
         [x,y,angle ...]       כתיבת חידה
  render FILE -o OUT [--format FORMAT] [--size WxH] [--selected N] [--margin PX]
         [--with-text]
                               ציור חידה כ־PNG,‏ SVG או PDF
  thumbnail IN OUT SIZE        תצוגה מקדימה כ־PNG בגודל SIZE x SIZE לכל היותר
  check RIDDLE ATTEMPT | check --solution SOLUTION [--riddle RIDDLE] ATTEMPT
                               האם ATTEMPT פותר את החידה, ומספר
                               הגפרורים שהוזזו
  equation TEXT -o FILE        ציור משוואה (‎5+7=2) כחידה
  solve FILE [--moves N] [--squares K] [--json] [--write-solutions]
                               כל התשובות של חידת משוואה או חידת ריבועים
  generate equations|squares -o DIR [--count C] [--moves N] [--seed S]
                               יצירת חידות חדשות עם קובצי הפתרון שלהן

הפקודה vorlo-cli COMMAND --help מציגה את האפשרויות של פקודה אחת.
פלט ‎- הוא הפלט התקני; קואורדינטות שליליות אינן צריכות מירכאות (‎-5,7,-30).
אפשרויות: ‎--help,‏ ‎--version
</translation>
    </message>
</context>
<context>
    <name>vorlo::AboutDialog</name>
    <message>
        <source>About vorlo</source>
        <translation>אודות vorlo</translation>
    </message>
    <message>
        <source>vorlo Version %1</source>
        <translation>גרסה %1 של vorlo</translation>
    </message>
    <message>
        <source>Copyright (C) the Vorlo team</source>
        <translation>כל הזכויות שמורות (C) לצוות Vorlo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>אישור</translation>
    </message>
    <message>
        <source>Free to play and to share.
It comes with no warranty;
use it at your own risk.</source>
        <translation>חופשי לשחק ולשתף.
ללא כל אחריות;
השימוש על אחריותך בלבד.</translation>
    </message>
    <message>
        <source>On the web: www.vorlo.example</source>
        <translation>באינטרנט: www.vorlo.example</translation>
    </message>
</context>
<context>
    <name>vorlo::InstructionsDialog</name>
    <message>
        <source>כל חידת גפרורים מורכבת מתמונה של גפרורים</source>
        <translation>כל חידת גפרורים מורכבת מתמונה של גפרורים</translation>
    </message>
    <message>
        <source>ומהוראות כתובות המתארות מה וכיצד יש לשנות בה.</source>
        <translation>ומהוראות כתובות המתארות מה וכיצד יש לשנות בה.</translation>
    </message>
    <message>
        <source>כל חידה נשמרת בקובץ נפרד. בתפריט File ניתן</source>
        <translation>כל חידה נשמרת בקובץ נפרד. בתפריט קובץ ניתן</translation>
    </message>
    <message>
        <source>לאתחל, לטעון, לשמור ולהדפיס קבצי חידות.</source>
        <translation>לאתחל, לטעון, לשמור ולהדפיס קבצי חידות.</translation>
    </message>
    <message>
        <source>הגפרורים שבתמונה ניתנים להזזה על-ידי העכבר.</source>
        <translation>הגפרורים שבתמונה ניתנים להזזה על-ידי העכבר.</translation>
    </message>
    <message>
        <source>הכפתור השמאלי - משמש לבחירת גפרור והזזתו.</source>
        <translation>הכפתור השמאלי - משמש לבחירת גפרור והזזתו.</translation>
    </message>
    <message>
        <source>הכפתור הימני - משמש לבחירת גפרור ולסיבובו.</source>
        <translation>הכפתור הימני - משמש לבחירת גפרור ולסיבובו.</translation>
    </message>
    <message>
        <source>הגפרור הבחור מחליף את צבע ראשו מאדום לכחול.</source>
        <translation>הגפרור הנבחר מחליף את צבע ראשו מאדום לכחול.</translation>
    </message>
    <message>
        <source>בשורת הכפתורים (toolbar) הנמצאת מתחת לתפריט</source>
        <translation>בסרגל הכלים הנמצא מתחת לתפריט</translation>
    </message>
    <message>
        <source>יש כמה פעולות ייחודיות: הוסף גפרור, מחק את</source>
        <translation>יש כמה פעולות ייחודיות: הוסף גפרור, מחק את</translation>
    </message>
    <message>
        <source>הגפרור הבחור, undo ועיגול ל-90 מעלות של הבחור.</source>
        <translation>הגפרור הנבחר, ביטול ועיגול ל-90 מעלות של הנבחר.</translation>
    </message>
    <message>
        <source>בהצלחה.</source>
        <translation>בהצלחה.</translation>
    </message>
    <message>
        <source>Instruction for vorlo</source>
        <translation>הוראות ל־vorlo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>אישור</translation>
    </message>
</context>
<context>
    <name>vorlo::IntroDialog</name>
    <message>
        <source>Vorlo v%1  lets you play with matches riddles!

First, download new riddles from the Internet.
Later on you can build your own and mail them
to us to be published.

See detailed instructions in Hebrew at the Help menu.</source>
        <translation>בעזרת Vorlo v%1 אפשר לשחק בחידות גפרורים!

תחילה, הורידו חידות חדשות מהאינטרנט.
בהמשך תוכלו לבנות חידות משלכם ולשלוח
אותן אלינו לפרסום.

הוראות מפורטות נמצאות בתפריט עזרה.</translation>
    </message>
    <message>
        <source>Introduction</source>
        <translation>פתיחה</translation>
    </message>
    <message>
        <source>Show this message at startup</source>
        <translation>הצגת הודעה זו בהפעלת התוכנה</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>סגירה (&amp;C)</translation>
    </message>
</context>
</TS>
