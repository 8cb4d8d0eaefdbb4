#include "commands.h"

#include <array>

namespace vorlo {

namespace {

QKeySequence Keys(QKeyCombination combination) {
    return QKeySequence(combination);
}

// Prompt and tooltip of each entry are the two halves of its string resource.
const Command kCommands[] = {
    {ID_ADD_MATCH,
     "ID_ADD_MATCH",
     "",
     {},
     "Add a new match",
     "Add match",
     "list-add",
     ":/window/add_match.svg"},
    {ID_DELETE_MATCH,
     "ID_DELETE_MATCH",
     "",
     {Keys(QKeyCombination(Qt::Key_Delete))},
     "Remove selected match",
     "Del match",
     "list-remove",
     ":/window/delete_match.svg"},
    {ID_HELP_INSTRUCTIONS,
     "ID_HELP_INSTRUCTIONS",
     "Instructions...",
     {},
     "Help in using this software",
     "",
     "",
     ""},
    {ID_ROTATE_90,
     "ID_ROTATE_90",
     "",
     {},
     "Rotate match to the nearest 90 degrees direction",
     "Rotate to nearest 90 degrees",
     "object-rotate-left",
     ":/window/rotate_90.svg"},
    {ID_STARTUP_MESSAGE, "ID_STARTUP_MESSAGE", "&Startup Message...", {}, "", "", "", ""},
    {ID_SAMPLE_KIDSRIDDLE, "ID_SAMPLE_KIDSRIDDLE", "", {}, "", "", "", ""},
    {ID_SAMPLE_RIDDLE1, "ID_SAMPLE_RIDDLE1", "", {}, "", "", "", ""},
    {ID_SAMPLE_RIDDLE2, "ID_SAMPLE_RIDDLE2", "", {}, "", "", "", ""},
    {ID_SAMPLE_RIDDLE3, "ID_SAMPLE_RIDDLE3", "", {}, "", "", "", ""},
    {ID_FILE_NEW,
     "ID_FILE_NEW",
     "&New\tCtrl+N",
     {Keys(Qt::CTRL | Qt::Key_N)},
     "Create a new riddle",
     "New",
     "document-new",
     ":/window/new.svg"},
    {ID_FILE_OPEN,
     "ID_FILE_OPEN",
     "&Open...\tCtrl+O",
     {Keys(Qt::CTRL | Qt::Key_O)},
     "Open a riddle from file",
     "Open",
     "document-open",
     ":/window/open.svg"},
    {ID_FILE_SAVE,
     "ID_FILE_SAVE",
     "&Save\tCtrl+S",
     {Keys(Qt::CTRL | Qt::Key_S)},
     "Save the riddle to file",
     "Save",
     "document-save",
     ":/window/save.svg"},
    {ID_FILE_SAVE_AS,
     "ID_FILE_SAVE_AS",
     "Save &As...",
     {},
     "Save the riddle to file with a new name",
     "Save As",
     "",
     ""},
    {ID_FILE_PRINT_SETUP,
     "ID_FILE_PRINT_SETUP",
     "P&rint Setup...",
     {},
     "Change the printer and printing options",
     "Print Setup",
     "",
     ""},
    {ID_FILE_PRINT,
     "ID_FILE_PRINT",
     "&Print...\tCtrl+P",
     {Keys(Qt::CTRL | Qt::Key_P)},
     "Print the riddle",
     "Print",
     "document-print",
     ":/window/print.svg"},
    {ID_FILE_PRINT_DIRECT, "ID_FILE_PRINT_DIRECT", "", {}, "", "", "", ""},
    {ID_FILE_PRINT_PREVIEW,
     "ID_FILE_PRINT_PREVIEW",
     "Print Pre&view",
     {},
     "Display full pages",
     "Print Preview",
     "",
     ""},
    {ID_FILE_MRU_FILE1, "ID_FILE_MRU_FILE1", "", {}, kRecentFilePrompt, "", "", ""},
    {ID_FILE_MRU_FILE2, "ID_FILE_MRU_FILE2", "", {}, kRecentFilePrompt, "", "", ""},
    {ID_FILE_MRU_FILE3, "ID_FILE_MRU_FILE3", "", {}, kRecentFilePrompt, "", "", ""},
    {ID_FILE_MRU_FILE4, "ID_FILE_MRU_FILE4", "", {}, kRecentFilePrompt, "", "", ""},
    {ID_EDIT_COPY,
     "ID_EDIT_COPY",
     "&Copy\tCtrl+C",
     {Keys(Qt::CTRL | Qt::Key_C), Keys(Qt::CTRL | Qt::Key_Insert)},
     "Copy the selection and put it on the Clipboard",
     "Copy",
     "edit-copy",
     ":/window/copy.svg"},
    {ID_EDIT_CUT,
     "ID_EDIT_CUT",
     "Cu&t\tCtrl+X",
     {Keys(Qt::CTRL | Qt::Key_X), Keys(Qt::SHIFT | Qt::Key_Delete)},
     "Cut the selection and put it on the Clipboard",
     "Cut",
     "edit-cut",
     ":/window/cut.svg"},
    {ID_EDIT_PASTE,
     "ID_EDIT_PASTE",
     "&Paste\tCtrl+V",
     {Keys(Qt::CTRL | Qt::Key_V), Keys(Qt::SHIFT | Qt::Key_Insert)},
     "Insert Clipboard contents",
     "Paste",
     "edit-paste",
     ":/window/paste.svg"},
    {ID_EDIT_UNDO,
     "ID_EDIT_UNDO",
     "&Undo\tCtrl+Z",
     {Keys(Qt::CTRL | Qt::Key_Z), Keys(Qt::ALT | Qt::Key_Backspace)},
     "Undo the last action",
     "Undo",
     "edit-undo",
     ":/window/undo.svg"},
    {ID_APP_ABOUT,
     "ID_APP_ABOUT",
     "&About vorlo...",
     {},
     "Display program information, version number and copyright",
     "About",
     "",
     ""},
    {ID_APP_EXIT,
     "ID_APP_EXIT",
     "E&xit",
     {},
     "Quit the application; prompts to save riddles",
     "Exit",
     "",
     ""},
    {ID_NEXT_PANE,
     "ID_NEXT_PANE",
     "",
     {Keys(QKeyCombination(Qt::Key_F6))},
     "Switch to the next window pane",
     "Next Pane",
     "",
     ""},
    {ID_PREV_PANE,
     "ID_PREV_PANE",
     "",
     {Keys(Qt::SHIFT | Qt::Key_F6)},
     "Switch back to the previous window pane",
     "Previous Pane",
     "",
     ""},
    {ID_VIEW_TOOLBAR,
     "ID_VIEW_TOOLBAR",
     "&Toolbar",
     {},
     "Show or hide the toolbar",
     "Toggle ToolBar",
     "",
     ""},
    {ID_VIEW_STATUS_BAR,
     "ID_VIEW_STATUS_BAR",
     "&Status Bar",
     {},
     "Show or hide the status bar",
     "Toggle StatusBar",
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
    ID_FILE_NEW,  ID_FILE_OPEN,      ID_FILE_SAVE,          ID_FILE_SAVE_AS,
    ID_SEPARATOR, ID_FILE_PRINT,     ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP,
    ID_SEPARATOR, ID_FILE_MRU_FILE1, ID_SEPARATOR,          ID_APP_EXIT,
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
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"&View", kViewMenu},
    {"&Help", kHelpMenu},
};

}  // namespace

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
