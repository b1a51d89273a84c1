// Rules of the chart page seen by a person: status bar panel 1 with the
// active chart's description or "neni", the reference set on the button's
// release but not by the release that ends a file drop, the active cursor at
// the plot's centre when the "Chart" page comes back, and the settings
// file's window state and unusable values at start.

#include "AppTestSupport.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "StatusTextPanel.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

using test::FakeDialogs;
using test::TempDir;
using test::WriteChart;

// The viewer started with these command-line arguments, and with the
// settings file at `settingsFile` when one is named.
MainWindowOptions PageOptions(std::vector<std::string> args, const std::string& settingsFile)
{
    MainWindowOptions options;
    options.Arguments = std::move(args);
    if (!settingsFile.empty())
        options.SettingsAt = SettingsLocation{
            settingsFile, (std::filesystem::path(settingsFile).parent_path() / "DATA/").string()};
    return options;
}

struct PageViewer : test::ChartViewer {
    explicit PageViewer(std::vector<std::string> args, const std::string& settingsFile = {})
        : ChartViewer({}, PageOptions(std::move(args), settingsFile))
    {
    }

    // Mouse events sent straight to the plot: nothing else runs in between
    // (no timer can end the click suppression meanwhile).
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
    {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent e(type, QPointF(at), Plot()->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(Plot(), &e);
    }
    void Click(QPoint at)
    {
        Mouse(QEvent::MouseMove, at);
        Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton);
    }
};

TEST(ChartPageRules, StatusPanelOneShowsTheActiveChartsDescriptionOrNeni)
{
    TempDir dir;
    PageViewer v({WriteChart(dir.Path(), "a.ndt", "first cable", 0),
                  WriteChart(dir.Path(), "b.ndt", "second cable", 30)});
    START(v);
    auto* panel = v.w->findChild<StatusTextPanel*>("StatusPanel1");
    ASSERT_NE(panel, nullptr);
    // The open-ended panel takes the status bar's free width.
    EXPECT_GT(panel->width(), 300);

    // The mouse over each chart in turn: its description.
    PlotWidget* plot = v.Plot();
    const int x = plot->width() / 2;
    for (int y : {plot->height() - 5, 5}) {
        QTest::mouseMove(plot, QPoint(x, y));
        const std::string wanted = v.Charts().Rec(v.Charts().ActiveIndex).Description;
        EXPECT_TRUE(QTest::qWaitFor([&] { return panel->text().toStdString() == wanted; }, 3000))
            << "wanted " << wanted << ", shown " << panel->text().toStdString();
    }
    const std::string last = panel->text().toStdString();
    EXPECT_NE(last, "");

    // The active chart hidden: no active chart, "neni".
    QListWidget* list = v.w->ChartsPage().ChartList();
    const int active = v.Charts().ActiveIndex;
    const QRect row = list->visualItemRect(list->item(active - 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    v.w->Menus().mi_curves_hide->trigger();
    ASSERT_EQ(v.Charts().ActiveIndex, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->text() == "neni"; }, 3000))
        << panel->text().toStdString();

    // Every chart closed: the panel is empty.
    v.w->Menus().mi_file_close_all->trigger();
    ASSERT_EQ(v.Charts().Count, 0);
    EXPECT_EQ(panel->text(), "");
}

TEST(ChartPageRules, TheReferenceIsSetOnReleaseButNotByTheReleaseEndingADrop)
{
    TempDir dir;
    PageViewer v({});
    START(v);
    const QPoint left(v.Plot()->width() / 4, v.Plot()->height() / 2);
    const QPoint right(v.Plot()->width() * 3 / 4, v.Plot()->height() / 2);
    // Files dropped on the window; the mouse button that carried them is
    // released over the plot next.
    auto drop = [&](const std::string& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        const QPoint at = v.w->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(v.w.get(), &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(v.w.get(), &dropped);
    };

    for (int k = 1; k <= 2; ++k) {
        drop(WriteChart(dir.Path(), std::to_string(k) + ".ndt", "chart", 20 * k));
        ASSERT_EQ(v.Charts().Count, k);
        const int refIndex = v.Charts().RefIndex;
        const int refCursor = v.Charts().RefCursor;
        ASSERT_EQ(refIndex, k);
        v.Mouse(QEvent::MouseMove, k == 1 ? right : left);
        ASSERT_NE(v.Charts().ActiveCursor, refCursor);
        v.Mouse(QEvent::MouseButtonRelease, k == 1 ? right : left, Qt::LeftButton);
        EXPECT_EQ(v.Charts().RefIndex, refIndex) << "drop " << k;
        EXPECT_EQ(v.Charts().RefCursor, refCursor) << "drop " << k;

        // Pressing alone leaves the reference; the release sets it.
        v.Mouse(QEvent::MouseButtonPress, k == 1 ? right : left, Qt::LeftButton);
        EXPECT_EQ(v.Charts().RefCursor, refCursor);
        v.Mouse(QEvent::MouseButtonRelease, k == 1 ? right : left, Qt::LeftButton);
        EXPECT_EQ(v.Charts().RefIndex, v.Charts().ActiveIndex);
        EXPECT_EQ(v.Charts().RefCursor, v.Charts().ActiveCursor);
        EXPECT_NE(v.Charts().RefCursor, refCursor);
    }
    EXPECT_TRUE(v.dialogs.Log.empty());
}

TEST(ChartPageRules, BackOnTheChartPageTheActiveCursorIsAtThePlotsCentre)
{
    TempDir dir;
    PageViewer v({WriteChart(dir.Path(), "a.ndt", "centre")});
    START(v);
    PlotWidget* plot = v.Plot();
    const QPoint centre(plot->width() / 2, plot->height() / 2);
    // Where the mouse at the centre puts the cursor.
    v.Mouse(QEvent::MouseMove, centre);
    const int atCentre = v.Charts().ActiveCursor;
    v.Mouse(QEvent::MouseMove, QPoint(plot->width() - 3, centre.y()));
    ASSERT_NE(v.Charts().ActiveCursor, atCentre);
    auto* mainX = v.w->findChild<QLabel*>("lbl_mainX");
    const QString farText = mainX->text();

    v.w->Pages()->setCurrentIndex(1);
    EXPECT_EQ(v.w->StatusText(1), "");
    v.w->Pages()->setCurrentIndex(0);
    EXPECT_EQ(v.Charts().ActiveCursor, atCentre);
    EXPECT_NE(mainX->text(), farText);
    EXPECT_TRUE(QTest::qWaitFor([&] { return v.w->StatusText(1) == "centre"; }, 3000));
}

TEST(ChartPageRules, SettingsAtStartMaximiseToTheDesignedGeometryAndReportProblemsOnStandardError)
{
    TempDir dir;
    const std::string ini =
        dir.Write("lumidrax.INI", "[GENERAL]\r\nPORT_COM=263\r\nPORT_BT1=-1\r\nLINEWIDTH=abc\r\n"
                                  "FONTSIZE=0\r\n[MAIN]\r\nSTATE=3\r\nTOP=100\r\nLEFT=100\r\n"
                                  "WIDTH=300\r\nHEIGHT=200\r\nCHARTLIST=7\r\n");
    testing::internal::CaptureStderr();
    PageViewer v({}, ini);
    const std::string err = testing::internal::GetCapturedStderr();
    START(v);
    // No box at start; the problems are listed on standard error.
    EXPECT_TRUE(v.dialogs.Log.empty());
    EXPECT_NE(err.find("LINEWIDTH=abc"), std::string::npos) << err;
    EXPECT_NE(err.find("CHARTLIST=7"), std::string::npos) << err;
    // Port numbers modulo 256; unusable values have their defaults.
    EXPECT_EQ(v.w->AppSettings().PortCom, 7);
    EXPECT_EQ(v.w->AppSettings().PortBT1, 255);
    EXPECT_EQ(v.w->AppSettings().LineWidth, 1);
    EXPECT_EQ(v.w->AppSettings().ChartListMode, 0);
    EXPECT_EQ(v.w->AppSettings().ReportFontSize, 10);
    // STATE=3: maximised (the geometry it restores to is GeometryAtStart's).
    EXPECT_TRUE(QTest::qWaitFor([&] { return v.w->isMaximized(); }, 3000));
}

} // namespace
} // namespace lumidrax
