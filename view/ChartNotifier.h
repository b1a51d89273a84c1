#pragma once
// One notifier for every change of the chart collection that the chart page
// shows. Whoever changes the collection (a file command, a dropped file, a
// transfer from the instrument, a processing command, the plot's mouse, the
// list's selection) changes it first and then emits the matching signal; the
// chart list, the plot, the read-outs and the command states subscribe once
// and follow. Nobody calls a refresh chain by hand.
//
// The signals are public (as every Qt signal): `emit notifier.chartsAdded()`.
// The main window owns the notifier.

#include <QFlags>
#include <QObject>

namespace lumidrax {

// What changed about charts that stay in the collection.
enum class ChartChange : unsigned {
    // What a list row shows beside the name: the saved mark, the description.
    Rows = 1u << 0,
    // File names or locations: the list is rebuilt.
    FileNames = 1u << 1,
    // Charts were shown or hidden: colour slots, the full extent, the curves.
    Visibility = 1u << 2,
    // Curve colours or line width: the curves are repainted.
    Colours = 1u << 3,
};
Q_DECLARE_FLAGS(ChartChanges, ChartChange)
Q_DECLARE_OPERATORS_FOR_FLAGS(ChartChanges)

class ChartNotifier : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  signals:
    // Charts were appended to the collection, flagged IsNew.
    void chartsAdded();
    // Charts were removed (numbers above them moved down), or all of them.
    void chartsRemoved();
    void chartsChanged(lumidrax::ChartChanges what);
    // The reference chart or its cursor changed; with selectInList the list
    // selects the reference chart's row alone.
    void referenceChanged(bool selectInList);
    // The active chart or its cursor changed.
    void activeChanged();
    // The view window (zoom, shift, full extent) changed.
    void viewChanged();
    // The list's selection changed (what the selection commands apply to).
    void selectionChanged();
};

} // namespace lumidrax

Q_DECLARE_METATYPE(lumidrax::ChartChanges)
