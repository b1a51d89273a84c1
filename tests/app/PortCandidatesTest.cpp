// Where the search for the instrument looks, in a made-up device folder.

#include "PortCandidates.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;

TEST(PortCandidates, NamesAndQuestions)
{
    EXPECT_EQ(CandidateName(5), "COM005");
    EXPECT_EQ(CandidateName(255), "COM255");
    EXPECT_EQ(PortQuestion(5), "?005");
    EXPECT_EQ(PortQuestion(42), "?042");
    EXPECT_TRUE(IsVkrAnswer("VKR104 simulator"));
    EXPECT_FALSE(IsVkrAnswer("vkr104"));
}

TEST(PortCandidates, DevicesNoNumberReachesAndTheFreeNumber)
{
    test::TempDir dir;
    const std::string dev = dir.Path() + "/dev";
    fs::create_directories(dev + "/serial/by-id");
    for (const char* name : {"ttyS0", "ttyS1", "ttyUSB0", "ttyUSB1", "rfcomm0", "ttyACM0", "null"})
        dir.Write(std::string("dev/") + name, "");
    fs::create_symlink(dev + "/ttyUSB1", dev + "/serial/by-id/usb-FTDI-if00");
    fs::create_symlink(dev + "/ttyACM0", dev + "/serial/by-id/usb-ACM-if00");
    const std::map<int, std::string> ports = {{3, dev + "/rfcomm0"}, {4, dev + "/serial/by-id/usb-ACM-if00"}};
    // ttyS0/1 are numbers 1 and 2, rfcomm0 and (through its link) ttyACM0
    // are in [PORTS]; the by-id link comes before the device it names.
    EXPECT_EQ(UnmappedSerialDevices(ports, dev),
              (std::vector<std::string>{dev + "/serial/by-id/usb-FTDI-if00", dev + "/ttyUSB0"}));
    EXPECT_EQ(FreePortNumber(ports, dev), 5);
    EXPECT_EQ(FreePortNumber({}, dir.Path() + "/nowhere"), 1);
    std::map<int, std::string> all;
    for (int n = 1; n <= kMaxPortNumber; ++n)
        all[n] = "x";
    EXPECT_EQ(FreePortNumber(all, dev), 0);
    // A device chosen from the list keeps the number that reaches it, or
    // gets the free one.
    EXPECT_EQ(NumberForDevice(ports, dev, dev + "/ttyS1"), 2);
    EXPECT_EQ(NumberForDevice(ports, dev, dev + "/ttyACM0"), 4);
    EXPECT_EQ(NumberForDevice(ports, dev, dev + "/ttyUSB0"), 5);
    EXPECT_EQ(NumberForDevice(all, dev, dev + "/ttyUSB0"), 0);
}

} // namespace
} // namespace lumidrax
