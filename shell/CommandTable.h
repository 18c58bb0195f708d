#pragma once

#include "shell/CommandIds.h"

#include <span>

class wxAcceleratorTable;
class wxAuiToolBar;
class wxMenuBar;
class wxString;
class wxWindow;

/// The class that carries a command out. Each identifier has exactly one, so it does not matter
/// that wx asks the document before the view.
enum class Handler
{
    None,
    View,
    Document,
    Frame,
    App,
};

/// One command or a run of consecutive ones: prompt (message pane) and tool tip, as UTF-8.
struct CommandInfo
{
    int firstId;
    int lastId;
    const char* prompt; ///< null when the command has no string
    const char* tip;
    Handler handler;
};

enum class MenuItemKind
{
    Normal,
    Check,
    Radio,
    Separator,
    Submenu,
};

struct MenuEntry;

struct MenuItemEntry
{
    int id;
    const char* text; ///< item text, "\t" and the shortcut shown at the right
    MenuItemKind kind;
    bool greyed;                        ///< disabled by the resource itself
    const MenuEntry* submenu = nullptr; ///< for MenuItemKind::Submenu, whose text is its title
};

struct MenuEntry
{
    const char* title;
    std::span<const MenuItemEntry> items;
};

struct AcceleratorEntry
{
    int flags; ///< wxACCEL_*
    int keyCode;
    int id;
};

enum class ToolImage
{
    BlankSheet,
    OpenFolder,
    Diskette,
    PreviousSet,
    NextSet,
    PreviousPalette,
    NextPalette,
    PaletteLabel,
    SetLabel,
    Digit,
};

enum class DockEdge
{
    Top,
    Bottom,
};

struct ToolButton
{
    int id; ///< 0 for a separator
    ToolImage image;
    int digit; ///< for ToolImage::Digit
};

struct ToolBarLayout
{
    int resourceId;
    const char* paneName;
    int imageHeight;
    DockEdge edge;
    bool visibleAtStart;
    std::span<const ToolButton> tools;
};

namespace CommandTable
{
std::span<const CommandInfo> Commands();
/// Null for an identifier that is no command.
const CommandInfo* Find(int id);
wxString PromptOf(int id);
wxString TipOf(int id);

std::span<const MenuEntry> Menus();
/// Main tool bar, palette-change bar, set-change bar, in creation order.
std::span<const ToolBarLayout> ToolBars();

wxMenuBar* BuildMenuBar();
/// Gives the bar's menus, items and prompts the texts of the current language; the recent
/// files keep theirs.
void TranslateMenuBar(wxMenuBar* bar);
/// Gives the bar's tool tips and prompts the texts of the current language.
void TranslateToolBar(wxAuiToolBar* bar);
wxAcceleratorTable BuildAccelerators();
wxAuiToolBar* BuildToolBar(wxWindow* parent, const ToolBarLayout& layout);
} // namespace CommandTable
