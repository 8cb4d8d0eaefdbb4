// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's command set: every command with its number, menu text,
// shortcuts, status-bar prompt and tooltip. Menus, toolbar, routing and tests
// all read this one table.

#include <QKeySequence>
#include <QList>
#include <QString>

#include <span>

namespace vorlo {

enum CommandId : int {
    ID_SEPARATOR = 0,
    ID_ADD_MATCH = 32771,
    ID_DELETE_MATCH = 32772,
    ID_HELP_INSTRUCTIONS = 32775,
    ID_ROTATE_90 = 32778,
    ID_STARTUP_MESSAGE = 32779,
    ID_SAMPLE_KIDSRIDDLE = 32780,
    ID_SAMPLE_RIDDLE1 = 32781,
    ID_SAMPLE_RIDDLE2 = 32782,
    ID_SAMPLE_RIDDLE3 = 32783,
    ID_SELECT_NEXT_MATCH = 32800,
    ID_SELECT_PREV_MATCH = 32801,
    ID_SNAP_TO_MATCHES = 32802,
    ID_ZOOM_IN = 32803,
    ID_ZOOM_OUT = 32804,
    ID_ZOOM_ACTUAL = 32805,
    ID_FILE_REVERT = 32900,
    ID_FILE_SAVE_SOLUTION = 32901,
    ID_FILE_EXPORT_PICTURE = 32902,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_FILE2 = 57617,
    ID_FILE_MRU_FILE3 = 57618,
    ID_FILE_MRU_FILE4 = 57619,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

struct Command {
    CommandId id;
    const char* name;      // "ID_FILE_NEW"
    const char* menuText;  // "&New\tCtrl+N"; empty for commands without a menu entry
    QList<QKeySequence> shortcuts;
    const char* prompt;        // status-bar prompt; empty when the command has none
    const char* toolTip;       // toolbar tooltip; empty when the command has none
    const char* themeIcon;     // icon name in the desktop's icon theme, or empty
    const char* fallbackIcon;  // bundled image used when the theme has none, or empty
};

// The texts of the table (menu texts, prompts, tooltips, menu titles and the
// status-bar texts above) in the language of the interface; empty stays empty.
QString TranslatedText(const char* text);

// Every command, in the order of their numbers.
std::span<const Command> Commands();

// The sample-riddle commands, each with the file it opens from the folder
// the program is installed in.
struct SampleCommand {
    CommandId id;
    const char* fileName;
};
std::span<const SampleCommand> SampleCommands();

// The toolbar, left to right; ID_SEPARATOR marks a separator.
std::span<const CommandId> ToolBarLayout();

// One menu of the menu bar; ID_SEPARATOR marks a separator and
// ID_FILE_MRU_FILE1 the place of the recent-file list.
struct MenuLayout {
    const char* title;
    std::span<const CommandId> items;
};
std::span<const MenuLayout> MenuBarLayout();

// Status-bar texts.
inline constexpr const char* kIdleMessage = QT_TRANSLATE_NOOP("Commands", "Ready");
inline constexpr const char* kMatchCountWidthText = QT_TRANSLATE_NOOP("Commands", "0   matches");
inline constexpr const char* kCapsText = QT_TRANSLATE_NOOP("Commands", "CAP");
inline constexpr const char* kNumText = QT_TRANSLATE_NOOP("Commands", "NUM");
inline constexpr const char* kRecentFilePlaceholder = QT_TRANSLATE_NOOP("Commands", "Recent File");
inline constexpr const char* kRecentFilePrompt = QT_TRANSLATE_NOOP("Commands", "Open this riddle");
inline constexpr int kRecentFileCount = 4;

}  // namespace vorlo
