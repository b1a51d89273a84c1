#pragma once
// The keys the chart page handles itself, on top of the menu shortcuts: the
// window previews every key press before the focused control (FormKeyDown)
// and picks one command by the key and the exact set of Shift, Ctrl and Alt
// held. Pure mapping; app/chartpage/ChartKeys runs the commands.

#include <Qt>

namespace lumidrax {

enum class ChartKeyCommand {
    None,                 // not a chart page key: marked handled, nothing runs
    PassOn,               // left to the focused control (Shift+Up/Down, typed text)
    ZoomInAtPointer,      // Ctrl + Numpad +
    ZoomOutAtPointer,     // Ctrl + Numpad -
    ZoomOutCursor,        // Ctrl pressed: the zoom-out cursor in zoom mode
    DisplayHide,          // Ctrl+D
    EditDescription,      // Ctrl+E
    LocalFilter,          // Ctrl+F, F2
    CycleListMode,        // Ctrl+L, F5
    SaveZoom,             // Ctrl+M
    RefInfo,              // Ctrl+R
    ZoomAll,              // Ctrl+T
    CycleLineWidth,       // Ctrl+W, F3
    PreviousZoom,         // Ctrl+Z
    NextZoom,             // Ctrl+Shift+Z (any set holding both)
    NextDisplayedAlt,     // Alt+Down
    PreviousDisplayedAlt, // Alt+Up
    SelectPreviousItem,   // Alt+Page Up
    SelectNextItem,       // Alt+Page Down
    RefColor,             // F4
    CloseSelected,        // Delete
    SetReference,         // Enter
    CursorLeft,           // Left
    CursorRight,          // Right
    LeaveZoomMode,        // Esc
    NextChart,            // Down
    PreviousChart,        // Up
    PageUp,               // Page Up
    PageDown,             // Page Down
    ToggleSelection,      // Space
};

// The command of a key press. `modifiers` may hold more than Shift, Ctrl and
// Alt (the keypad flag tells Numpad + and - from the others); `text` is the
// typed text, which reaches the control when the key is not a chart key.
ChartKeyCommand MapChartKey(int key, Qt::KeyboardModifiers modifiers, bool hasText = false);

// Key release: Ctrl released sets the zoom-in cursor back in zoom mode.
bool IsZoomCursorRelease(int key);

} // namespace lumidrax

namespace lumidrax {

// Page Up / Page Down in the chart list: the page is (list height div item
// height) - 1 items. Up: less than a page from the top goes to item 0,
// otherwise a page up. Down: less than a page from the end (current > count
// - page) goes to the last item, otherwise a page down. Returns the new
// current item (-1 for an empty list).
int ListPageTarget(int current, int count, int listHeight, int itemHeight, bool up);

} // namespace lumidrax
