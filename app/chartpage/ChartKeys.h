#pragma once
// The chart page's own keys (FormKeyDown / FormKeyUp): while the chart page
// is shown and no description is edited in place, every key press that no
// menu shortcut took is looked up in the key map (view/KeyMap.h) and its
// command runs here; the key is then marked handled, except where the map
// leaves it to the focused control. Watches the application's key events
// (an event filter) for the widgets of one window.

#include "KeyMap.h"
#include "PageParts.h"
#include "TMereni.h"

#include <QObject>

#include <functional>

class QAction;

namespace lumidrax {

class ChartMenus;
class ChartPage;
class ZoomCommands;

struct ChartKeysContext : PageParts<ChartPage, ChartMenus> {
    ZoomCommands* Zoom = nullptr;
    // True while the keys are previewed (the chart page is shown and no
    // in-place edit is open).
    std::function<bool()> Previewing;
    // The list mode and line width commands of the window.
    std::function<void(int)> SetListMode;
    std::function<void(int)> SetLineWidth;
};

class ChartKeys : public QObject {
    Q_OBJECT
  public:
    explicit ChartKeys(ChartKeysContext context);
    ~ChartKeys() override;

    // Runs one key's command as FormKeyDown does. Returns true when the key
    // is marked handled.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers, bool hasText);
    void FormKeyUp(int key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Run(ChartKeyCommand command);
    void StepCursor(int delta);
    void SwitchChart(bool next);
    void SwitchDisplayedAlt(bool next);
    void SelectNeighbourItem(bool next);
    void PageList(bool up);
    void ToggleCurrentSelection();
    void SetReferenceFromCursor();
    void CycleListMode();
    void CycleLineWidth();
    void PopUpFilterMenu();

    ChartKeysContext c_;
};

} // namespace lumidrax
