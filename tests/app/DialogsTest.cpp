// The help window, the About box, the directory chooser and the description
// editor on an offscreen display, driven with keys and clicks.

#include "AboutBox.h"
#include "DescriptionEditor.h"
#include "DirectoryChooser.h"
#include "HelpWindow.h"
#include "ProgramInfo.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

TEST(ProgramInfo, BuildTextAndHelpDocumentPlace)
{
    EXPECT_EQ(BuildText("3.1.0.536"), "Build 3.1.0.536");
    EXPECT_EQ(BuildText(ProgramVersion()), "Build 3.1.0.536");
    EXPECT_EQ(BuildText("3.1"), "Build 3.1.0.0");
    EXPECT_EQ(BuildText("x.-2.7"), "Build 0.0.7.0");

    const auto none = [](const std::string&) { return false; };
    EXPECT_EQ(FindHelpDocument("/opt/l/bin", none), "/opt/l/bin/Help/Lumidrax3.1_Navod.htm");
    const auto installed = [](const std::string& p) { return p.find("/share/") != std::string::npos; };
    EXPECT_EQ(FindHelpDocument("/usr/bin", installed),
              "/usr/bin/../share/lumidrax/help/Lumidrax3.1_Navod.htm");
    // The build tree holds the document beside the executables.
    EXPECT_TRUE(std::filesystem::exists(test::BinPath("Help/Lumidrax3.1_Navod.htm")));
}

TEST(HelpWindow, ShowsTheManualGoesBackAndForwardAndReportsAMissingDocument)
{
    auto* help = new HelpWindow;
    EXPECT_EQ(help->windowTitle(), "Lumidrax Help");
    help->OpenDocument(QString::fromStdString(test::BinPath("Help/Lumidrax3.1_Navod.htm")));
    help->show();
    QTextBrowser* b = help->Browser();
    EXPECT_TRUE(b->toPlainText().contains("The settings file"));
    const QUrl start = b->source();

    // A link inside the manual, then back and forward with the buttons.
    b->setSource(QUrl(start.toString() + "#keys"));
    auto* prev = help->findChild<QToolButton*>("sb_help_prev");
    auto* next = help->findChild<QToolButton*>("sb_help_next");
    ASSERT_TRUE(prev && next);
    QTest::mouseClick(prev, Qt::LeftButton);
    EXPECT_EQ(b->source(), start);
    QTest::mouseClick(prev, Qt::LeftButton); // no more history: nothing happens
    EXPECT_EQ(b->source(), start);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(b->source().fragment(), "keys");

    help->OpenDocument("/nonexistent/Help/Lumidrax3.1_Navod.htm");
    EXPECT_TRUE(b->toPlainText().contains("/nonexistent/Help/Lumidrax3.1_Navod.htm was not found"));

    // Close deletes the window.
    QPointer<HelpWindow> guard(help);
    QTest::mouseClick(help->findChild<QToolButton*>("sb_help_exit"), Qt::LeftButton);
    // (QTRY_VERIFY would only return from the test, which then passes.)
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, 5000));
}

TEST(AboutBox, ShowsTheBuildOfThisProgram)
{
    AboutBox box;
    EXPECT_EQ(box.windowTitle(), "About Lumidrax");
    EXPECT_EQ(box.BuildLabel()->text(), "Build 3.1.0.536");
    EXPECT_EQ(box.size(), QSize(354, 273));
    QTimer::singleShot(0, &box, [&box] { box.findChild<QPushButton*>()->click(); });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
}

TEST(DescriptionEditor, EnterConfirmsTheTypedLineAndEscapeCancels)
{
    DescriptionEditor ed;
    ed.SetCaption("Description of 3 selected curves");
    ed.SetText("old");
    EXPECT_FALSE(ed.Modified());
    ed.show();
    QTest::keyClicks(ed.Editor(), " cable");
    EXPECT_TRUE(ed.Modified());
    QTest::keyClick(ed.Editor(), Qt::Key_Return);
    EXPECT_EQ(ed.result(), QDialog::Accepted);
    EXPECT_EQ(ed.Text(), "old cable");
    EXPECT_EQ(ed.Editor()->blockCount(), 1); // Enter broke no line

    // Pasted line breaks never reach the description (the first line of a
    // chart file).
    ed.Editor()->setPlainText("two\nlines\r\nthree");
    EXPECT_EQ(ed.Text(), "two lines three");

    DescriptionEditor cancel;
    cancel.SetText("keep");
    cancel.show();
    QTest::keyClicks(cancel.Editor(), "x");
    QTest::keyClick(cancel.Editor(), Qt::Key_Escape);
    EXPECT_EQ(cancel.result(), QDialog::Rejected);

    // The modal helper: OK gives the text, Cancel nothing.
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<DescriptionEditor*>(QApplication::activeModalWidget());
        QTest::keyClicks(d->Editor(), "new");
        QTest::keyClick(d->Editor(), Qt::Key_Enter);
    });
    EXPECT_EQ(DescriptionEditor::EditDescription(nullptr, "Description", ""), std::optional<QString>("new"));
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<DescriptionEditor*>(QApplication::activeModalWidget());
        d->findChildren<QPushButton*>().at(1)->click();
    });
    EXPECT_EQ(DescriptionEditor::EditDescription(nullptr, "Description", "x"), std::nullopt);
}

TEST(DirectoryChooser, StartsOnTheGivenFolderAndReturnsTheChosenOne)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir.File("a/b"));
    const QString root = QString::fromStdString(dir.Path());

    DirectoryChooser chooser;
    EXPECT_EQ(chooser.windowTitle(), "Select dierctory");
    chooser.SetDirectory(root + "/a");
    EXPECT_EQ(chooser.Directory(), root + "/a/");
    // A folder that does not exist: the nearest existing one above it.
    chooser.SetDirectory(root + "/a/missing/deeper");
    EXPECT_EQ(chooser.Directory(), root + "/a/");
    // The drive list follows the tree: "/" holds the temporary folder.
    EXPECT_FALSE(chooser.Drives()->currentText().isEmpty());
    EXPECT_TRUE((root + "/").startsWith(chooser.Drives()->currentData().toString()));

    // Choosing a drive moves the tree there.
    const int slash = chooser.Drives()->findData("/");
    ASSERT_GE(slash, 0);
    chooser.Drives()->setCurrentIndex(slash);
    emit chooser.Drives()->activated(slash);
    EXPECT_EQ(chooser.Directory(), "/");

    // The modal helper confirms with "&Select".
    QTimer::singleShot(0, [root] {
        auto* d = qobject_cast<DirectoryChooser*>(QApplication::activeModalWidget());
        d->SetDirectory(root + "/a/b");
        d->findChildren<QPushButton*>().at(0)->click();
    });
    EXPECT_EQ(DirectoryChooser::ChooseDirectory(nullptr, root), std::optional<QString>(root + "/a/b/"));
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<DirectoryChooser*>(QApplication::activeModalWidget());
        d->findChildren<QPushButton*>().at(1)->click();
    });
    EXPECT_EQ(DirectoryChooser::ChooseDirectory(nullptr, root), std::nullopt);
}

} // namespace
} // namespace lumidrax

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
