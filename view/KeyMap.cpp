#include "KeyMap.h"

#include <algorithm>
#include <array>

namespace lumidrax {

namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;

struct Binding {
    int Key;
    Qt::KeyboardModifiers Modifiers; // exactly these of Shift, Ctrl, Alt
    ChartKeyCommand Command;
};

using C = ChartKeyCommand;

// Numpad + and - are told apart by the keypad flag (below).
constexpr std::array kBindings = {
    Binding{Qt::Key_D, kCtrl, C::DisplayHide},
    Binding{Qt::Key_E, kCtrl, C::EditDescription},
    Binding{Qt::Key_F, kCtrl, C::LocalFilter},
    Binding{Qt::Key_L, kCtrl, C::CycleListMode},
    Binding{Qt::Key_M, kCtrl, C::SaveZoom},
    Binding{Qt::Key_R, kCtrl, C::RefInfo},
    Binding{Qt::Key_T, kCtrl, C::ZoomAll},
    Binding{Qt::Key_W, kCtrl, C::CycleLineWidth},
    Binding{Qt::Key_Z, kCtrl, C::PreviousZoom},
    Binding{Qt::Key_Down, kAlt, C::NextDisplayedAlt},
    Binding{Qt::Key_Up, kAlt, C::PreviousDisplayedAlt},
    Binding{Qt::Key_PageUp, kAlt, C::SelectPreviousItem},
    Binding{Qt::Key_PageDown, kAlt, C::SelectNextItem},
    Binding{Qt::Key_Up, kShift, C::PassOn},
    Binding{Qt::Key_Down, kShift, C::PassOn},
    Binding{Qt::Key_F2, kNone, C::LocalFilter},
    Binding{Qt::Key_F3, kNone, C::CycleLineWidth},
    Binding{Qt::Key_F4, kNone, C::RefColor},
    Binding{Qt::Key_F5, kNone, C::CycleListMode},
    Binding{Qt::Key_Delete, kNone, C::CloseSelected},
    Binding{Qt::Key_Return, kNone, C::SetReference},
    Binding{Qt::Key_Enter, kNone, C::SetReference},
    Binding{Qt::Key_Left, kNone, C::CursorLeft},
    Binding{Qt::Key_Right, kNone, C::CursorRight},
    Binding{Qt::Key_Escape, kNone, C::LeaveZoomMode},
    Binding{Qt::Key_Down, kNone, C::NextChart},
    Binding{Qt::Key_Up, kNone, C::PreviousChart},
    Binding{Qt::Key_PageUp, kNone, C::PageUp},
    Binding{Qt::Key_PageDown, kNone, C::PageDown},
    Binding{Qt::Key_Space, kNone, C::ToggleSelection},
};

} // namespace

ChartKeyCommand MapChartKey(int key, Qt::KeyboardModifiers modifiers, bool hasText)
{
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_Control)
        return (held & ~kCtrl) == kNone ? C::ZoomOutCursor : C::None;
    if (key == Qt::Key_Z && (held & (kCtrl | kShift)) == (kCtrl | kShift))
        return C::NextZoom;
    if (held == kCtrl && (modifiers & Qt::KeypadModifier)) {
        if (key == Qt::Key_Plus)
            return C::ZoomInAtPointer;
        if (key == Qt::Key_Minus)
            return C::ZoomOutAtPointer;
    }
    for (const Binding& b : kBindings)
        if (b.Key == key && b.Modifiers == held)
            return b.Command;
    // Typed characters still reach the control; Tab moves the focus.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return C::PassOn;
    if (hasText && (held & (kCtrl | kAlt)) == kNone)
        return C::PassOn;
    return C::None;
}

bool IsZoomCursorRelease(int key)
{
    return key == Qt::Key_Control;
}

} // namespace lumidrax

namespace lumidrax {

int ListPageTarget(int current, int count, int listHeight, int itemHeight, bool up)
{
    if (count <= 0)
        return -1;
    const int page = std::max((itemHeight > 0 ? listHeight / itemHeight : 0) - 1, 0);
    int target = 0;
    if (up)
        target = current < page ? 0 : current - page;
    else
        target = current > count - page ? count - 1 : current + page;
    return std::clamp(target, 0, count - 1);
}

} // namespace lumidrax
