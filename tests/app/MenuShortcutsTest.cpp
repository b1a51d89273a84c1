// The menu shortcuts of the page shown work wherever the focus is on that
// page: a control that would use the key itself (the memo's word moves, a
// read-only field's copy) does not take it from the menu, and the port
// status boxes never take the focus.

#include "AppTestSupport.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ReportCommands.h"
#include "ReportMenus.h"
#include "ReportPage.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

using test::FakeDialogs;
using test::TempDir;

// The enabled items of a menu bar with a shortcut of Ctrl, Alt or a function
// key, the keys a control could claim.
std::vector<QAction*> ClaimableItems(const QList<QAction*>& actions)
{
    std::vector<QAction*> items;
    for (QAction* a : actions) {
        if (QMenu* sub = a->menu()) {
            const std::vector<QAction*> inner = ClaimableItems(sub->actions());
            items.insert(items.end(), inner.begin(), inner.end());
            continue;
        }
        if (!a->isEnabled() || a->shortcut().isEmpty())
            continue;
        const QKeyCombination k = a->shortcut()[0];
        const bool claimable = (k.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
                               (k.key() >= Qt::Key_F1 && k.key() <= Qt::Key_F35);
        if (claimable)
            items.push_back(a);
    }
    return items;
}

// The widgets of a page and its tool bar that can hold the focus.
std::vector<QWidget*> FocusTakers(QWidget* page, QToolBar* bar)
{
    std::vector<QWidget*> widgets;
    for (QWidget* root : {page, static_cast<QWidget*>(bar)})
        for (QWidget* w : root->findChildren<QWidget*>())
            if (w->focusPolicy() != Qt::NoFocus && w->isVisible() && w->isEnabled() && !w->focusProxy())
                widgets.push_back(w);
    return widgets;
}

struct PageCase {
    const char* name;
    int page;
};

class MenuShortcuts : public testing::TestWithParam<PageCase> {};

TEST_P(MenuShortcuts, EveryEnabledItemRunsWhateverHasTheFocus)
{
    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewer(w, dialogs, {}, QSize(1000, 700)));
    for (const char* name : {"a.ndt", "b.ndt"})
        w->ReceiveHandedOverName(test::WriteChart(dir.Path(), name, name));
    w->OpenPendingFiles();
    dir.Write("r.txt", "report line\r\n");
    dialogs.OpenAnswers.push_back({dir.File("r.txt")});
    w->Pages()->setCurrentIndex(1);
    w->RepMenus().mi_rep_file_open->trigger();
    ASSERT_EQ(w->RepCommands().Reports().Count(), 1);

    const bool chart = GetParam().page == 0;
    w->Pages()->setCurrentIndex(GetParam().page);
    QMenuBar* menu = chart ? w->Menus().MainMenu : w->RepMenus().MainMenuRep;
    QWidget* page = chart ? static_cast<QWidget*>(&w->ChartsPage()) : &w->ReportsPage();
    QToolBar* bar = chart ? w->Menus().ToolBar : w->RepMenus().RepToolBar;

    // The status box of the page takes no focus, not even from a click.
    QLineEdit* box = chart ? w->Menus().e_port : w->RepMenus().e_rep_port;
    EXPECT_EQ(box->focusPolicy(), Qt::NoFocus);

    const std::vector<QAction*> items = ClaimableItems(menu->actions());
    ASSERT_GE(items.size(), chart ? 8u : 4u);
    // The items' commands do not run here: only whether the key reaches
    // them is looked at.
    for (QAction* a : items)
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
    const std::vector<QWidget*> takers = FocusTakers(page, bar);
    ASSERT_GE(takers.size(), 2u);
    for (QWidget* focus : takers) {
        for (QAction* a : items) {
            if (!a->isEnabled())
                continue;
            focus->setFocus();
            ASSERT_TRUE(QTest::qWaitFor([focus] { return focus->hasFocus(); }, 2000))
                << focus->metaObject()->className();
            QSignalSpy triggered(a, &QAction::triggered);
            const QKeyCombination k = a->shortcut()[0];
            QTest::keyClick(focus, k.key(), k.keyboardModifiers());
            EXPECT_EQ(triggered.count(), 1)
                << a->text().toStdString() << " (" << a->shortcut().toString().toStdString()
                << ") with the focus in " << focus->metaObject()->className() << " "
                << focus->objectName().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, MenuShortcuts, testing::Values(PageCase{"Chart", 0}, PageCase{"Report", 1}),
                         [](const testing::TestParamInfo<PageCase>& info) { return info.param.name; });

} // namespace
} // namespace lumidrax
