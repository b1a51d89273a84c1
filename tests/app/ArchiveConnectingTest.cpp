// The Archive page on a team's PostgreSQL server that does not answer: the
// page says it is connecting while the window goes on, then why the archive
// cannot be shown; once the server runs, the next visit connects.

#include "AppTestSupport.h"
#include "ArchivePage.h"
#include "PostgresServer.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace lumidrax {
namespace {

constexpr int kArchiveWaitMs = 15000;

TEST(ArchiveConnecting, ThePageWaitsForTheServerAwayFromTheWindowAndConnectsOnceItRuns)
{
    test::PostgresServer& server = test::PostgresServer::Shared();
    if (!server.Running())
        GTEST_SKIP() << "no PostgreSQL server for the archive tests: " << server.Reason();
    const ArchiveLocation where = server.NewDatabase();
    server.Stop(); // its socket folder stays; nothing listens there now

    test::TempDir dir;
    test::FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewerWithSettings(
        w, dialogs, dir,
        "[ARCHIVE]\r\nENABLED=1\r\nENGINE=POSTGRESQL\r\nHOST=" + where.Host +
            "\r\nPORT=" + std::to_string(where.Port) + "\r\nDATABASE=" + where.Database +
            "\r\nUSER=" + where.User + "\r\n"));
    ArchivePage& page = w->ArchivesPage();
    const auto showPage = [&] {
        QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_EQ(w->Pages()->currentWidget(), &page);
    };
    const auto backToCharts = [&] {
        QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_NE(w->Pages()->currentWidget(), &page);
    };
    const std::string connecting = "Connecting to the archive (" + DescribeLocation(where) + ") ...";

    // Ctrl+Shift+A returns at once: the page says it is connecting, its
    // commands wait. Leaving and coming back meanwhile changes nothing.
    showPage();
    EXPECT_EQ(page.StateText().toStdString(), connecting);
    EXPECT_FALSE(page.b_import->isEnabled());
    EXPECT_FALSE(page.e_search->isEnabled());
    backToCharts();
    showPage();
    EXPECT_EQ(page.StateText().toStdString(), connecting);

    // The server does not answer: why, and the charts are kept.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return page.StateText().toStdString() != connecting; }, kArchiveWaitMs));
    EXPECT_TRUE(page.StateText().startsWith("The archive cannot be shown: The archive " +
                                            QString::fromStdString(DescribeLocation(where)) +
                                            " cannot be reached ("))
        << page.StateText().toStdString();
    EXPECT_TRUE(page.StateText().endsWith(
        "The charts are kept as files; they are recorded when the archive is back."));
    EXPECT_FALSE(page.b_import->isEnabled());
    EXPECT_FALSE(page.e_search->isEnabled());

    // The server runs again: the next visit connects.
    ASSERT_TRUE(server.Start()) << server.Reason();
    backToCharts();
    showPage();
    EXPECT_EQ(page.StateText().toStdString(), connecting);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.b_import->isEnabled(); }, kArchiveWaitMs))
        << page.StateText().toStdString();
    EXPECT_TRUE(page.e_search->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return page.StateText().startsWith("0 entries found in the PostgreSQL ");
    })) << page.StateText().toStdString();
}

} // namespace
} // namespace lumidrax
