#pragma once

// wx takes menu identifiers only below 0x7FFF, so the original resource numbers cannot be used
// as they are: the program's own commands are their original number less 1000, and the
// framework's standard commands (File, Edit, Help, the bar toggles) get numbers of our own just
// below. wx's stock identifiers are avoided because wxDocManager answers those on its own terms.
enum CommandId : int
{
    ID_FILE_NEW = 31500,
    ID_FILE_OPEN = 31501,
    ID_FILE_OPEN_ADD_ON = 31502,
    ID_FILE_SAVE = 31503,
    ID_FILE_SAVE_AS = 31504,
    ID_FILE_MRU_FIRST = 31516,
    ID_FILE_MRU_LAST = 31531,
    ID_EDIT_COPY = 31534,
    ID_EDIT_CUT = 31535,
    ID_EDIT_PASTE = 31537,
    ID_EDIT_UNDO = 31543,
    ID_EDIT_REDO = 31544,
    ID_APP_ABOUT = 31564,
    ID_APP_EXIT = 31565,
    ID_NEXT_PANE = 31580,
    ID_PREV_PANE = 31581,
    ID_VIEW_TOOLBAR = 31592,
    ID_VIEW_STATUS_BAR = 31593,
    ID_PALETTE_LABEL = 31601,
    ID_SET_LABEL = 31602,
    ID_PALETTE_0 = 31610,
    ID_PALETTE_9 = 31619,
    ID_SET_0 = 31620,
    ID_SET_9 = 31629,
    ID_PREV_SET = 31775,
    ID_NEXT_PALETTE = 31778,
    ID_NEXT_SET = 31783,
    ID_PREV_PALETTE = 31784,
    ID_VIEW_FKISS = 31790,
    ID_VIEW_PALETTE_BAR = 31791,
    ID_VIEW_SET_BAR = 31792,
    ID_SIZE_ADJUST = 31793,
    ID_RESTORE = 31794,
    ID_ZOOM_IN = 31795,
    ID_ZOOM_OUT = 31796,
    ID_RELOAD = 31797,
    ID_FULL_COLOUR = 31798,
    ID_256_COLOUR = 31799,
    // Commands of our own, after the original ones.
    ID_ZOOM_FIT = 31800,
    ID_VIEW_MESSAGES = 31801,
    ID_VIEW_LANGUAGE = 31802, ///< the submenu itself
    ID_LANGUAGE_AUTOMATIC = 31803,
    ID_LANGUAGE_JAPANESE = 31804,
    ID_LANGUAGE_ENGLISH = 31805,
};

/// Every command lies in this range; update requests for other identifiers (windows asking
/// about themselves) are never answered by the command tables.
constexpr int kFirstCommandId = ID_FILE_NEW;
constexpr int kLastCommandId = ID_LANGUAGE_ENGLISH;

/// Status-bar panes after the message pane, in pane order.
enum StatusPane : int
{
    kPaneMessage = 0,
    kPaneSet = 1,
    kPanePalette = 2,
    kPanePoint = 3,
    kPaneObject = 4,
    kPaneCatch = 5,
    kPaneZoom = 6,
    kPaneCount = 7,
};

/// The update codes that the document sends to its view.
enum UpdateHint : int
{
    kHintReset = 0,
    kHintRepaintAll = 1,
    kHintRepaintDirty = 2,
    kHintRefit = 3,
};
