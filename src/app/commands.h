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

enum class CommandId : int {
    Separator,
    AddMatch,
    DeleteMatch,
    HelpInstructions,
    Rotate90,
    StartupMessage,
    SampleKidsRiddle,
    SampleRiddle1,
    SampleRiddle2,
    SampleRiddle3,
    SelectNextMatch,
    SelectPreviousMatch,
    SnapToMatches,
    ZoomIn,
    ZoomOut,
    ZoomActual,
    FileRevert,
    FileSaveSolution,
    FileExportPicture,
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    FilePrintSetup,
    FilePrint,
    FilePrintDirect,
    FilePrintPreview,
    RecentFile1,
    RecentFile2,
    RecentFile3,
    RecentFile4,
    EditCopy,
    EditCut,
    EditPaste,
    EditUndo,
    EditRedo,
    GamePlay,
    GameRestart,
    GameHint,
    GameBook,
    GameNextUnsolved,
    AppAbout,
    AppExit,
    NextPane,
    PreviousPane,
    ViewToolBar,
    ViewStatusBar,
};

struct Command {
    CommandId id;
    const char* name;  // "FileNew"
    // "&New"; empty for commands without a menu entry. The menu shows the
    // first of the shortcuts beside it.
    const char* menuText;
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

// The toolbar, left to right; CommandId::Separator marks a separator.
std::span<const CommandId> ToolBarLayout();

// One menu of the menu bar; CommandId::Separator marks a separator and
// CommandId::RecentFile1 the place of the recent-file list.
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

// The recent-file entry `index` (0 to kRecentFileCount - 1): the entries'
// commands follow each other.
constexpr CommandId RecentFileCommand(int index) {
    return static_cast<CommandId>(static_cast<int>(CommandId::RecentFile1) + index);
}

}  // namespace vorlo
