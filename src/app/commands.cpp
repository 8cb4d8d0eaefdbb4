#include "commands.h"

#include <QCoreApplication>

#include <array>

namespace vorlo {

namespace {

QKeySequence Keys(QKeyCombination combination) {
    return QKeySequence(combination);
}

// The texts a person reads are marked for translation here and translated
// where they are shown (TranslatedText), so that lupdate finds them.
const Command kCommands[] = {
    {ID_ADD_MATCH,
     "ID_ADD_MATCH",
     "",
     {},
     QT_TRANSLATE_NOOP("Commands", "Add a new match"),
     QT_TRANSLATE_NOOP("Commands", "Add match"),
     "list-add",
     ":/window/add_match.svg"},
    {ID_DELETE_MATCH,
     "ID_DELETE_MATCH",
     "",
     {Keys(QKeyCombination(Qt::Key_Delete))},
     QT_TRANSLATE_NOOP("Commands", "Remove selected match"),
     QT_TRANSLATE_NOOP("Commands", "Del match"),
     "list-remove",
     ":/window/delete_match.svg"},
    {ID_HELP_INSTRUCTIONS,
     "ID_HELP_INSTRUCTIONS",
     QT_TRANSLATE_NOOP("Commands", "Instructions..."),
     {},
     QT_TRANSLATE_NOOP("Commands", "Help in using this software"),
     "",
     "",
     ""},
    {ID_ROTATE_90,
     "ID_ROTATE_90",
     "",
     {},
     QT_TRANSLATE_NOOP("Commands", "Rotate match to the nearest 90 degrees direction"),
     QT_TRANSLATE_NOOP("Commands", "Rotate to nearest 90 degrees"),
     "object-rotate-left",
     ":/window/rotate_90.svg"},
    {ID_STARTUP_MESSAGE,
     "ID_STARTUP_MESSAGE",
     QT_TRANSLATE_NOOP("Commands", "&Startup Message..."),
     {},
     "",
     "",
     "",
     ""},
    {ID_SAMPLE_KIDSRIDDLE, "ID_SAMPLE_KIDSRIDDLE", "", {}, "", "", "", ""},
    {ID_SAMPLE_RIDDLE1, "ID_SAMPLE_RIDDLE1", "", {}, "", "", "", ""},
    {ID_SAMPLE_RIDDLE2, "ID_SAMPLE_RIDDLE2", "", {}, "", "", "", ""},
    {ID_SAMPLE_RIDDLE3, "ID_SAMPLE_RIDDLE3", "", {}, "", "", "", ""},
    {ID_FILE_REVERT,
     "ID_FILE_REVERT",
     QT_TRANSLATE_NOOP("Commands", "Rever&t to Saved\tF5"),
     {Keys(QKeyCombination(Qt::Key_F5))},
     QT_TRANSLATE_NOOP("Commands", "Open the riddle again as it was last saved"),
     QT_TRANSLATE_NOOP("Commands", "Revert to Saved"),
     "",
     ""},
    {ID_FILE_SAVE_SOLUTION,
     "ID_FILE_SAVE_SOLUTION",
     QT_TRANSLATE_NOOP("Commands", "Save as Sol&ution"),
     {},
     QT_TRANSLATE_NOOP("Commands", "Save the board as a solution of the riddle, beside its file"),
     QT_TRANSLATE_NOOP("Commands", "Save as Solution"),
     "",
     ""},
    {ID_FILE_EXPORT_PICTURE,
     "ID_FILE_EXPORT_PICTURE",
     QT_TRANSLATE_NOOP("Commands", "&Export Picture..."),
     {},
     QT_TRANSLATE_NOOP("Commands", "Save a picture of the riddle as PNG, SVG or PDF"),
     QT_TRANSLATE_NOOP("Commands", "Export Picture"),
     "",
     ""},
    {ID_FILE_NEW,
     "ID_FILE_NEW",
     QT_TRANSLATE_NOOP("Commands", "&New\tCtrl+N"),
     {Keys(Qt::CTRL | Qt::Key_N)},
     QT_TRANSLATE_NOOP("Commands", "Create a new riddle"),
     QT_TRANSLATE_NOOP("Commands", "New"),
     "document-new",
     ":/window/new.svg"},
    {ID_FILE_OPEN,
     "ID_FILE_OPEN",
     QT_TRANSLATE_NOOP("Commands", "&Open...\tCtrl+O"),
     {Keys(Qt::CTRL | Qt::Key_O)},
     QT_TRANSLATE_NOOP("Commands", "Open a riddle from file"),
     QT_TRANSLATE_NOOP("Commands", "Open"),
     "document-open",
     ":/window/open.svg"},
    {ID_FILE_SAVE,
     "ID_FILE_SAVE",
     QT_TRANSLATE_NOOP("Commands", "&Save\tCtrl+S"),
     {Keys(Qt::CTRL | Qt::Key_S)},
     QT_TRANSLATE_NOOP("Commands", "Save the riddle to file"),
     QT_TRANSLATE_NOOP("Commands", "Save"),
     "document-save",
     ":/window/save.svg"},
    {ID_FILE_SAVE_AS,
     "ID_FILE_SAVE_AS",
     QT_TRANSLATE_NOOP("Commands", "Save &As..."),
     {},
     QT_TRANSLATE_NOOP("Commands", "Save the riddle to file with a new name"),
     QT_TRANSLATE_NOOP("Commands", "Save As"),
     "",
     ""},
    {ID_FILE_PRINT_SETUP,
     "ID_FILE_PRINT_SETUP",
     QT_TRANSLATE_NOOP("Commands", "P&rint Setup..."),
     {},
     QT_TRANSLATE_NOOP("Commands", "Change the printer and printing options"),
     QT_TRANSLATE_NOOP("Commands", "Print Setup"),
     "",
     ""},
    {ID_FILE_PRINT,
     "ID_FILE_PRINT",
     QT_TRANSLATE_NOOP("Commands", "&Print...\tCtrl+P"),
     {Keys(Qt::CTRL | Qt::Key_P)},
     QT_TRANSLATE_NOOP("Commands", "Print the riddle"),
     QT_TRANSLATE_NOOP("Commands", "Print"),
     "document-print",
     ":/window/print.svg"},
    {ID_FILE_PRINT_DIRECT, "ID_FILE_PRINT_DIRECT", "", {}, "", "", "", ""},
    {ID_FILE_PRINT_PREVIEW,
     "ID_FILE_PRINT_PREVIEW",
     QT_TRANSLATE_NOOP("Commands", "Print Pre&view"),
     {},
     QT_TRANSLATE_NOOP("Commands", "Display full pages"),
     QT_TRANSLATE_NOOP("Commands", "Print Preview"),
     "",
     ""},
    {ID_FILE_MRU_FILE1, "ID_FILE_MRU_FILE1", "", {}, kRecentFilePrompt, "", "", ""},
    {ID_FILE_MRU_FILE2, "ID_FILE_MRU_FILE2", "", {}, kRecentFilePrompt, "", "", ""},
    {ID_FILE_MRU_FILE3, "ID_FILE_MRU_FILE3", "", {}, kRecentFilePrompt, "", "", ""},
    {ID_FILE_MRU_FILE4, "ID_FILE_MRU_FILE4", "", {}, kRecentFilePrompt, "", "", ""},
    {ID_EDIT_COPY,
     "ID_EDIT_COPY",
     QT_TRANSLATE_NOOP("Commands", "&Copy\tCtrl+C"),
     {Keys(Qt::CTRL | Qt::Key_C), Keys(Qt::CTRL | Qt::Key_Insert)},
     QT_TRANSLATE_NOOP("Commands", "Copy the selection and put it on the Clipboard"),
     QT_TRANSLATE_NOOP("Commands", "Copy"),
     "edit-copy",
     ":/window/copy.svg"},
    {ID_EDIT_CUT,
     "ID_EDIT_CUT",
     QT_TRANSLATE_NOOP("Commands", "Cu&t\tCtrl+X"),
     {Keys(Qt::CTRL | Qt::Key_X), Keys(Qt::SHIFT | Qt::Key_Delete)},
     QT_TRANSLATE_NOOP("Commands", "Cut the selection and put it on the Clipboard"),
     QT_TRANSLATE_NOOP("Commands", "Cut"),
     "edit-cut",
     ":/window/cut.svg"},
    {ID_EDIT_PASTE,
     "ID_EDIT_PASTE",
     QT_TRANSLATE_NOOP("Commands", "&Paste\tCtrl+V"),
     {Keys(Qt::CTRL | Qt::Key_V), Keys(Qt::SHIFT | Qt::Key_Insert)},
     QT_TRANSLATE_NOOP("Commands", "Insert Clipboard contents"),
     QT_TRANSLATE_NOOP("Commands", "Paste"),
     "edit-paste",
     ":/window/paste.svg"},
    {ID_EDIT_UNDO,
     "ID_EDIT_UNDO",
     QT_TRANSLATE_NOOP("Commands", "&Undo\tCtrl+Z"),
     {Keys(Qt::CTRL | Qt::Key_Z), Keys(Qt::ALT | Qt::Key_Backspace)},
     QT_TRANSLATE_NOOP("Commands", "Undo the last action"),
     QT_TRANSLATE_NOOP("Commands", "Undo"),
     "edit-undo",
     ":/window/undo.svg"},
    {ID_APP_ABOUT,
     "ID_APP_ABOUT",
     QT_TRANSLATE_NOOP("Commands", "&About vorlo..."),
     {},
     QT_TRANSLATE_NOOP("Commands", "Display program information, version number and copyright"),
     QT_TRANSLATE_NOOP("Commands", "About"),
     "",
     ""},
    {ID_APP_EXIT,
     "ID_APP_EXIT",
     QT_TRANSLATE_NOOP("Commands", "E&xit"),
     {},
     QT_TRANSLATE_NOOP("Commands", "Quit the application; prompts to save riddles"),
     QT_TRANSLATE_NOOP("Commands", "Exit"),
     "",
     ""},
    {ID_NEXT_PANE,
     "ID_NEXT_PANE",
     "",
     {Keys(QKeyCombination(Qt::Key_F6))},
     QT_TRANSLATE_NOOP("Commands", "Switch to the next window pane"),
     QT_TRANSLATE_NOOP("Commands", "Next Pane"),
     "",
     ""},
    {ID_PREV_PANE,
     "ID_PREV_PANE",
     "",
     {Keys(Qt::SHIFT | Qt::Key_F6)},
     QT_TRANSLATE_NOOP("Commands", "Switch back to the previous window pane"),
     QT_TRANSLATE_NOOP("Commands", "Previous Pane"),
     "",
     ""},
    {ID_VIEW_TOOLBAR,
     "ID_VIEW_TOOLBAR",
     QT_TRANSLATE_NOOP("Commands", "&Toolbar"),
     {},
     QT_TRANSLATE_NOOP("Commands", "Show or hide the toolbar"),
     QT_TRANSLATE_NOOP("Commands", "Toggle ToolBar"),
     "",
     ""},
    {ID_VIEW_STATUS_BAR,
     "ID_VIEW_STATUS_BAR",
     QT_TRANSLATE_NOOP("Commands", "&Status Bar"),
     {},
     QT_TRANSLATE_NOOP("Commands", "Show or hide the status bar"),
     QT_TRANSLATE_NOOP("Commands", "Toggle StatusBar"),
     "",
     ""},
};

constexpr SampleCommand kSamples[] = {
    {ID_SAMPLE_KIDSRIDDLE, "kidsriddle.vrl"},
    {ID_SAMPLE_RIDDLE1, "riddle1.vrl"},
    {ID_SAMPLE_RIDDLE2, "riddle2.vrl"},
    {ID_SAMPLE_RIDDLE3, "riddle3.vrl"},
};

constexpr std::array kToolBar = {
    ID_FILE_NEW,  ID_FILE_OPEN,    ID_FILE_SAVE, ID_SEPARATOR,  ID_FILE_PRINT,
    ID_SEPARATOR, ID_EDIT_CUT,     ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEPARATOR,
    ID_ADD_MATCH, ID_DELETE_MATCH, ID_SEPARATOR, ID_EDIT_UNDO,  ID_ROTATE_90,
};

constexpr std::array kFileMenu = {
    ID_FILE_NEW,
    ID_FILE_OPEN,
    ID_FILE_SAVE,
    ID_FILE_SAVE_AS,
    ID_SEPARATOR,
    ID_FILE_PRINT,
    ID_FILE_PRINT_PREVIEW,
    ID_FILE_PRINT_SETUP,
    ID_SEPARATOR,
    ID_FILE_MRU_FILE1,
    ID_SEPARATOR,
    ID_APP_EXIT,
    // Beyond the classic set, after it.
    ID_SEPARATOR,
    ID_FILE_REVERT,
    ID_FILE_SAVE_SOLUTION,
    ID_FILE_EXPORT_PICTURE,
};
constexpr std::array kEditMenu = {
    ID_EDIT_UNDO, ID_SEPARATOR, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
};
constexpr std::array kViewMenu = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};
constexpr std::array kHelpMenu = {
    ID_HELP_INSTRUCTIONS,
    ID_STARTUP_MESSAGE,
    ID_SEPARATOR,
    ID_APP_ABOUT,
};

const MenuLayout kMenuBar[] = {
    {QT_TRANSLATE_NOOP("Commands", "&File"), kFileMenu},
    {QT_TRANSLATE_NOOP("Commands", "&Edit"), kEditMenu},
    {QT_TRANSLATE_NOOP("Commands", "&View"), kViewMenu},
    {QT_TRANSLATE_NOOP("Commands", "&Help"), kHelpMenu},
};

}  // namespace

QString TranslatedText(const char* text) {
    return QCoreApplication::translate("Commands", text);
}

std::span<const Command> Commands() {
    return kCommands;
}

std::span<const SampleCommand> SampleCommands() {
    return kSamples;
}

std::span<const CommandId> ToolBarLayout() {
    return kToolBar;
}

std::span<const MenuLayout> MenuBarLayout() {
    return kMenuBar;
}

}  // namespace vorlo
