#pragma once

// The numbers are those of the original resources, so the tables read like them and no
// identifier collides with the stock ones that wxDocManager answers on its own.
enum CommandId : int
{
    ID_PALETTE_LABEL = 32601,
    ID_SET_LABEL = 32602,
    ID_PALETTE_0 = 32610,
    ID_PALETTE_9 = 32619,
    ID_SET_0 = 32620,
    ID_SET_9 = 32629,
    ID_PREV_SET = 32775,
    ID_NEXT_PALETTE = 32778,
    ID_NEXT_SET = 32783,
    ID_PREV_PALETTE = 32784,
    ID_VIEW_PALETTE_BAR = 32791,
    ID_VIEW_SET_BAR = 32792,
    ID_SIZE_ADJUST = 32793,
    ID_RESTORE = 32794,
    ID_ZOOM_IN = 32795,
    ID_ZOOM_OUT = 32796,
    ID_RELOAD = 32797,
    ID_FULL_COLOUR = 32798,
    ID_256_COLOUR = 32799,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FIRST = 57616,
    ID_FILE_MRU_LAST = 57631,
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

/// Every command lies in this range; update requests for other identifiers (windows asking
/// about themselves) are never answered by the command tables.
constexpr int kFirstCommandId = ID_PALETTE_LABEL;
constexpr int kLastCommandId = ID_VIEW_STATUS_BAR;

/// Status-bar panes after the message pane, in pane order.
enum StatusPane : int
{
    kPaneMessage = 0,
    kPaneSet = 1,
    kPanePalette = 2,
    kPanePoint = 3,
    kPaneObject = 4,
    kPaneCatch = 5,
    kPaneCount = 6,
};

/// The update codes that the document sends to its view.
enum UpdateHint : int
{
    kHintReset = 0,
    kHintRepaintAll = 1,
    kHintRepaintDirty = 2,
    kHintRefit = 3,
};
