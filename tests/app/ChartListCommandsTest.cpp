// The chart list's commands in the running viewer: showing and hiding charts
// through the list, the menus, the pop-up and F8; the command states of
// every menu item, tool button and pop-up item; the list height and modes;
// the in-place description field; the "Values" window.

#include "AppTestSupport.h"
#include "ChartListLogic.h"
#include "ChartListPanel.h"
#include "ChartListPopup.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "Limits.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSet>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace lumidrax {
namespace {

using test::FakeDialogs;
using test::TempDir;
using test::WriteChart;

// A started viewer holding `count` charts opened from files.
struct ListViewer : test::ChartViewer {
    explicit ListViewer(int count)
    {
        if (!started)
            return;
        std::vector<std::string> names;
        for (int k = 1; k <= count; ++k)
            names.push_back(WriteChart(dir.Path(),
                                       "chart" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".ndt",
                                       "chart " + std::to_string(k), k));
        if (count > 0) {
            dialogs.OpenAnswers = {names};
            w->Menus().mi_file_open->trigger();
        }
        started = w->Charts().Count == count;
    }

    void ClickRow(int row, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QListWidget* list = List();
        list->scrollToItem(list->item(row));
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, r.center());
    }
    // Clicks the first row and ctrl-clicks the others: rows = chart - 1 in
    // mode 0.
    void SelectCharts(const std::vector<int>& charts)
    {
        for (std::size_t k = 0; k < charts.size(); ++k)
            ClickRow(charts[k] - 1, k == 0 ? Qt::NoModifier : Qt::ControlModifier);
    }
    std::vector<int> Slots()
    {
        std::vector<int> out;
        for (int i = 1; i <= Charts().Count; ++i)
            out.push_back(Charts().Rec(i).ColorSlot);
        return out;
    }
    // Colours inside the colour mark column of a row.
    QSet<QRgb> MarkColours(int row) { return test::MarkColours(List(), row); }
    bool ButtonEnabled(QAction* a)
    {
        QWidget* button = Menus().ToolBar->widgetForAction(a);
        return button && button->isEnabled();
    }
};

TEST(ChartListCommands, ShowHideAndToggleThroughListMenusAndPopup)
{
    ListViewer v(12);
    START(v);
    ASSERT_EQ(v.Slots(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0}));
    ChartMenus& m = v.Menus();
    ChartListPopup& popup = v.w->ListPopup();

    // Chart 3 hidden through the Tools menu: white, slot free, mark gone.
    v.ClickRow(2);
    EXPECT_TRUE(m.mi_curves_hide->isEnabled());
    EXPECT_FALSE(m.mi_curves_show->isEnabled());
    EXPECT_TRUE(v.MarkColours(2).contains(SlotColour(3)));
    m.mi_curves_hide->trigger();
    EXPECT_FALSE(v.Charts().Rec(3).Shown);
    EXPECT_EQ(v.Charts().Rec(3).Color, kWhite);
    EXPECT_EQ(v.Charts().ShownCount, 9);
    EXPECT_EQ(v.MarkColours(2), QSet<QRgb>{kWhite});
    EXPECT_FALSE(m.mi_curves_hide->isEnabled());
    EXPECT_TRUE(m.mi_curves_show->isEnabled());
    EXPECT_EQ(v.Charts().RefIndex, 0); // the hidden chart was the reference

    // Chart 12 shown through the pop-up takes the freed slot 3.
    v.ClickRow(11);
    ASSERT_TRUE(popup.mi_curves_show->isEnabled());
    popup.mi_curves_show->trigger();
    EXPECT_EQ(v.Slots(), (std::vector<int>{1, 2, 0, 4, 5, 6, 7, 8, 9, 10, 0, 3}));
    EXPECT_EQ(v.Charts().Rec(12).Color, SlotColour(3));
    EXPECT_TRUE(v.MarkColours(11).contains(SlotColour(3)));
    // Ten drawn: showing another is not offered.
    v.ClickRow(10);
    EXPECT_FALSE(m.mi_curves_show->isEnabled());
    EXPECT_FALSE(popup.mi_curves_show->isEnabled());
    EXPECT_TRUE(m.mi_tools_dishide->isEnabled());

    // F8 on the mixed selection {1, 11} with ten drawn hides chart 1.
    v.SelectCharts({1, 11});
    v.Key(Qt::Key_F8);
    EXPECT_FALSE(v.Charts().Rec(1).Shown);
    EXPECT_FALSE(v.Charts().Rec(11).Shown);
    EXPECT_EQ(v.Charts().ShownCount, 9);
    // Again: nine drawn, so the mixed selection {1, 2} is shown; chart 1
    // takes slot 1 again.
    v.SelectCharts({1, 2});
    v.Key(Qt::Key_F8);
    EXPECT_TRUE(v.Charts().Rec(1).Shown);
    EXPECT_EQ(v.Charts().Rec(1).ColorSlot, 1);
    EXPECT_EQ(v.Charts().ShownCount, 10);
    // The tool button does what F8 does: every selected chart drawn, so hide.
    ASSERT_TRUE(v.ButtonEnabled(m.mi_tools_dishide));
    QTest::mouseClick(m.ToolBar->widgetForAction(m.mi_tools_dishide), Qt::LeftButton);
    EXPECT_FALSE(v.Charts().Rec(1).Shown);
    EXPECT_FALSE(v.Charts().Rec(2).Shown);
    EXPECT_TRUE(v.Charts().SlotFree[1] && v.Charts().SlotFree[2]);

    // In the mode "displayed charts only" hidden charts leave the list, and
    // hiding from there refills it.
    m.mi_chartlist_mode[1]->trigger();
    EXPECT_EQ(v.List()->count(), 8);
    v.ClickRow(0);
    const int first = v.List()->item(0)->text().toInt();
    EXPECT_EQ(first, 4);
    popup.mi_curves_hide->trigger();
    EXPECT_EQ(v.List()->count(), 7);
    EXPECT_EQ(v.List()->item(0)->text(), "5");
}

TEST(ChartListCommands, HidingEveryChartAndShowingOneMakesItReferenceAndActive)
{
    ListViewer v(3);
    START(v);
    v.Key(Qt::Key_A, Qt::ControlModifier);
    v.Menus().mi_curves_hide->trigger();
    EXPECT_EQ(v.Charts().ShownCount, 0);
    EXPECT_EQ(v.Charts().RefIndex, 0);
    EXPECT_EQ(v.Charts().ActiveIndex, 0);
    EXPECT_FALSE(v.Menus().mi_file_print->isEnabled());
    EXPECT_FALSE(v.Menus().mi_tools_width->isEnabled());
    v.ClickRow(1);
    v.Key(Qt::Key_F8);
    EXPECT_EQ(v.Charts().RefIndex, 2);
    EXPECT_EQ(v.Charts().ActiveIndex, 2);
    EXPECT_EQ(v.Charts().Rec(2).ColorSlot, 1);
    EXPECT_TRUE(v.Menus().mi_tools_width->isEnabled());
}

// Every command's menu item, tool button and pop-up item against the
// computed states, in several situations.
void ExpectItemsFollowStates(ListViewer& v, const char* situation)
{
    ChartMenus& m = v.Menus();
    const ChartCommandStates s =
        ComputeCommandStates(v.Charts(), v.w->ChartsPage().SelectedCharts(), v.List()->count());
    struct Item {
        QAction* Action;
        bool State;
    };
    const std::vector<Item> items = {
        {m.mi_file_open, s.Open},
        {m.mi_file_close_selected, s.CloseSelected},
        {m.mi_file_close_all, s.CloseAll},
        {m.mi_save_selected, s.SaveSelected},
        {m.mi_save_all, s.SaveAll},
        {m.mi_file_saveas, s.SaveAs},
        {m.mi_file_print, s.Print},
        {m.mi_edit_copy, s.CopyToClipboard},
        {m.mi_curves_show, s.DisplaySelected},
        {m.mi_curves_hide, s.HideSelected},
        {m.mi_panels_refinfo, s.RefInfo},
        {m.sb_filter, s.RefFilter},
        {m.mi_tools_filter->menuAction(), s.RefFilter},
        {m.mi_tools_refcolor, s.RefColor},
        {m.mi_tools_width->menuAction(), s.LineWidth},
        {m.sb_width, s.LineWidth},
        {m.mi_width[0], s.LineWidth},
        {m.mi_curves_average, s.Average},
        {m.mi_tools_dishide, s.DisplayHideToggle},
        {m.mi_curves_edit_desc, s.EditDescription},
        {m.mi_file_close->menuAction(), s.CloseMenu},
        {m.mi_file_save->menuAction(), s.SaveMenu},
    };
    for (const Item& item : items) {
        // A command not wired yet stays off whatever its state says.
        const bool wanted =
            item.State && !m.Unbuilt.contains(item.Action) &&
            !(item.Action == m.mi_tools_filter->menuAction() && m.Unbuilt.contains(m.sb_filter));
        EXPECT_EQ(item.Action->isEnabled(), wanted)
            << situation << ": " << item.Action->objectName().toStdString()
            << item.Action->text().toStdString();
        if (QWidget* button = m.ToolBar->widgetForAction(item.Action)) {
            EXPECT_EQ(button->isEnabled(), item.Action->isEnabled())
                << situation << ": button " << item.Action->text().toStdString();
        }
    }
    ChartListPopup& p = v.w->ListPopup();
    const std::vector<std::pair<QAction*, QAction*>> pairs = {
        {p.mi_curves_show, m.mi_curves_show},           {p.mi_curves_hide, m.mi_curves_hide},
        {p.mi_curves_dishide, m.mi_tools_dishide},      {p.mi_curves_close, m.mi_file_close_selected},
        {p.mi_curves_save, m.mi_save_selected},         {p.mi_curves_saveas, m.mi_file_saveas},
        {p.mi_curves_edit_desc, m.mi_curves_edit_desc}, {p.mi_curves_average, m.mi_curves_average}};
    for (const auto& [item, command] : pairs)
        EXPECT_EQ(item->isEnabled(), command->isEnabled())
            << situation << ": popup " << item->text().toStdString();
    EXPECT_EQ(p.mi_curves_select_all->isEnabled(), s.SelectAll) << situation;
}

TEST(ChartListCommands, MenuItemsToolButtonsAndPopupFollowTheEnablingTable)
{
    {
        ListViewer empty(0);
        START(empty);
        ExpectItemsFollowStates(empty, "no chart");
        EXPECT_TRUE(empty.Menus().mi_file_open->isEnabled());
        EXPECT_FALSE(empty.Menus().mi_file_close->menuAction()->isEnabled());
    }
    ListViewer v(11);
    START(v);
    ExpectItemsFollowStates(v, "after opening");
    v.ClickRow(0);
    ExpectItemsFollowStates(v, "one drawn chart selected");
    EXPECT_TRUE(v.Menus().mi_curves_hide->isEnabled());
    v.ClickRow(10, Qt::ControlModifier);
    ExpectItemsFollowStates(v, "a drawn and the hidden chart");
    v.ClickRow(10);
    ExpectItemsFollowStates(v, "the hidden chart with ten drawn");
    EXPECT_FALSE(v.Menus().mi_curves_show->isEnabled());
    v.Key(Qt::Key_A, Qt::ControlModifier);
    ExpectItemsFollowStates(v, "all selected");
    v.Menus().mi_curves_hide->trigger();
    ExpectItemsFollowStates(v, "all hidden");
    EXPECT_FALSE(v.Menus().mi_file_print->isEnabled());
    v.ClickRow(4);
    v.Key(Qt::Key_F8);
    ExpectItemsFollowStates(v, "one shown again");
}

TEST(ChartListCommands, ListHeightStepsModesAndSplitter)
{
    ListViewer v(3);
    START(v);
    ChartMenus& m = v.Menus();
    ChartPage& page = v.w->ChartsPage();
    ASSERT_TRUE(m.mi_incChartList->isEnabled());
    ASSERT_TRUE(m.mi_decChartList->isEnabled());
    const int start = page.ListHeight();
    ASSERT_GT(start, 40);
    v.Key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(page.ListHeight(), start + 16);
    v.Key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    v.Key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(page.ListHeight(), start - 16);

    // Shrinking stops below 41 pixels and disables itself; growing enables it.
    for (int k = 0; k < 40 && m.mi_decChartList->isEnabled(); ++k)
        m.mi_decChartList->trigger();
    EXPECT_FALSE(m.mi_decChartList->isEnabled());
    EXPECT_LT(page.ListHeight(), 41);
    EXPECT_GT(page.ListHeight(), 20);
    m.mi_incChartList->trigger();
    EXPECT_TRUE(m.mi_decChartList->isEnabled());
    // Growing stops while the plot is under 101 pixels high.
    for (int k = 0; k < 100 && m.mi_incChartList->isEnabled(); ++k)
        m.mi_incChartList->trigger();
    EXPECT_FALSE(m.mi_incChartList->isEnabled());
    EXPECT_GE(page.View()->height(), 100);
    // The plot alone is measured: the last step left it under 101 pixels.
    EXPECT_LT(page.View()->Plot()->height(), 101);
    EXPECT_GE(page.View()->Plot()->height(), 101 - 16);
    m.mi_decChartList->trigger();
    EXPECT_TRUE(m.mi_incChartList->isEnabled());
    const int remembered = page.ListHeight();

    // Hidden list: no height, no splitter, no height commands.
    m.mi_chartlist_mode[2]->trigger();
    EXPECT_EQ(page.ListHeight(), 0);
    EXPECT_FALSE(page.Splitter()->handle(1)->isVisible());
    EXPECT_FALSE(m.mi_incChartList->isEnabled());
    EXPECT_FALSE(m.mi_decChartList->isEnabled());
    EXPECT_TRUE(m.mi_chartlist_mode[2]->isChecked());
    EXPECT_FALSE(m.mi_chartlist_mode[2]->isEnabled());
    m.mi_chartlist_mode[0]->trigger();
    EXPECT_EQ(page.ListHeight(), remembered);
    EXPECT_TRUE(page.Splitter()->handle(1)->isVisible());
    EXPECT_TRUE(m.mi_incChartList->isEnabled());

    // Dragging the splitter: the list keeps more than 20 pixels, and the
    // new height is remembered for the next time the list is shown.
    QSplitter* splitter = page.Splitter();
    QWidget* handle = splitter->handle(1);
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(0, 2000));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(0, 2000));
    EXPECT_GT(page.ListHeight(), 20);
    EXPECT_LT(page.ListHeight(), remembered);
    const int dragged = page.ListHeight();
    m.mi_chartlist_mode[2]->trigger();
    m.mi_chartlist_mode[1]->trigger();
    EXPECT_EQ(page.ListHeight(), dragged);
}

TEST(ChartListCommands, InPlaceFieldKeepsTheOldTextWhenLeftAndFollowsTheColumn)
{
    ListViewer v(12);
    START(v);
    auto* field = v.w->findChild<QLineEdit*>("e_description");
    ASSERT_NE(field, nullptr);
    QListWidget* list = v.List();
    ChartListPanel* panel = v.w->ChartsPage().ListPanel();

    // The last row, out of sight at first, comes to the top for editing.
    v.ClickRow(11);
    list->scrollToTop();
    ASSERT_FALSE(list->viewport()->rect().contains(list->visualItemRect(list->item(11))));
    v.Key(Qt::Key_F7);
    ASSERT_TRUE(field->isVisible());
    EXPECT_EQ(v.w->DescriptionEditPosition(), 11);
    EXPECT_EQ(field->text(), "chart 12");
    const QRect row = list->visualItemRect(list->item(11));
    EXPECT_TRUE(list->viewport()->rect().contains(row));
    EXPECT_EQ(field->geometry().top(), row.top());
    EXPECT_EQ(field->geometry().left(), 80 + panel->NameWidth() + row.left());
    EXPECT_EQ(field->width(), panel->DescWidth());

    // Widening "File" moves the field with the "Description" column.
    panel->Header()->resizeSection(1, panel->NameWidth() + 40);
    EXPECT_EQ(field->geometry().left(), 80 + panel->NameWidth() + row.left());

    // Leaving the field (a click on another row) keeps the old text.
    QTest::keyClicks(field, "changed");
    v.ClickRow(0);
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(v.Charts().Rec(12).Description, "chart 12");
    EXPECT_TRUE(v.Charts().Rec(12).Saved);
    EXPECT_EQ(v.w->DescriptionEditPosition(), -1);

    // Enter stores, and the command states are renewed (chart unsaved).
    v.ClickRow(1);
    v.Key(Qt::Key_F7);
    ASSERT_TRUE(field->isVisible());
    field->selectAll();
    QTest::keyClicks(field, "pair 2");
    QTest::keyClick(field, Qt::Key_Enter);
    EXPECT_EQ(v.Charts().Rec(2).Description, "pair 2");
    EXPECT_FALSE(v.Charts().Rec(2).Saved);
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(v.w->DescriptionEditPosition(), -1);
}

TEST(ChartListCommands, DescriptionEditorForSeveralStartsWithTheirCommonText)
{
    ListViewer v(3);
    START(v);
    v.Charts().Rec(1).Description = v.Charts().Rec(3).Description = "feeder";
    v.SelectCharts({1, 3});
    bool editItemsOff = false;
    QString startText;
    test::WhenModalOpensWith<QPlainTextEdit>([&](QWidget& editor, QPlainTextEdit& memo) {
        editItemsOff =
            !v.Menus().mi_curves_edit_desc->isEnabled() && !v.w->ListPopup().mi_curves_edit_desc->isEnabled();
        startText = memo.toPlainText();
        editor.close(); // closed without "&OK": nothing changes
    });
    v.Menus().mi_curves_edit_desc->trigger();
    EXPECT_TRUE(editItemsOff);
    EXPECT_EQ(startText, "feeder");
    EXPECT_EQ(v.Charts().Rec(1).Description, "feeder");
    EXPECT_TRUE(v.Charts().Rec(1).Saved);
    EXPECT_TRUE(v.Menus().mi_curves_edit_desc->isEnabled());
}

TEST(ChartListCommands, ValuesWindowOpensOnlyWithCtrlShiftRightButtonAndAReference)
{
    ListViewer v(2);
    START(v);
    v.ClickRow(1);
    ASSERT_EQ(v.Charts().RefIndex, 2);
    EXPECT_FALSE(v.w->sh_refcolorMouseUp(Qt::RightButton, Qt::ControlModifier));
    EXPECT_FALSE(v.w->sh_refcolorMouseUp(Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier));
    QString title;
    QStringList cells;
    test::WhenModalOpensWith<QTableWidget>([&](QWidget& window, QTableWidget& grid) {
        title = window.windowTitle();
        for (int r = 0; r < grid.rowCount(); ++r)
            cells << grid.item(r, 0)->text() + "=" + grid.item(r, 1)->text();
        window.close();
    });
    EXPECT_TRUE(v.w->sh_refcolorMouseUp(Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_EQ(title, "Values");
    ASSERT_EQ(cells.size(), 24);
    EXPECT_EQ(cells[0], "Interval=" + QString::number(v.Charts().Rec(2).Interval));
    EXPECT_TRUE(cells[10].startsWith("StatusIDX=")) << cells[10].toStdString();

    // Two drawn charts selected: no reference, no window.
    v.ClickRow(0, Qt::ControlModifier);
    ASSERT_EQ(v.Charts().RefIndex, 0);
    EXPECT_FALSE(v.w->sh_refcolorMouseUp(Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier));
}

} // namespace
} // namespace lumidrax

namespace lumidrax {
namespace {

TEST(ChartListCommands, CtrlShiftRightReleaseOnTheReferenceMarkerOpensValues)
{
    ListViewer v(1);
    START(v);
    auto* marker = v.w->findChild<QWidget*>("sh_refcolor");
    ASSERT_NE(marker, nullptr);
    v.ClickRow(0);
    ASSERT_EQ(v.Charts().RefIndex, 1);
    // A plain right click opens nothing.
    QTest::mouseClick(marker, Qt::RightButton, Qt::NoModifier, marker->rect().center());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QString title;
    QTimer::singleShot(0, v.w.get(), [&] {
        if (QWidget* window = QApplication::activeModalWidget()) {
            title = window->windowTitle();
            window->close();
        }
    });
    QTest::mouseClick(marker, Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier,
                      marker->rect().center());
    EXPECT_EQ(title, "Values");
}

} // namespace
} // namespace lumidrax
