// Test entry: an offscreen QApplication, and a private temporary folder so
// that the single-instance sockets of the tests never meet a real viewer and
// the chart archive (XDG_DATA_HOME) is never the user's.

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string tmpl = (std::filesystem::temp_directory_path() / "lumidrax-app-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data())) {
        qputenv("TMPDIR", QByteArray::fromStdString(tmpl));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(tmpl + "/data"));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(tmpl, ec);
    return result;
}
