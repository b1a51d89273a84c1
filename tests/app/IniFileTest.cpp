// The INI text reader/writer: what it finds, and that rewriting keeps every
// line it was not asked to change.

#include "IniFile.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

TEST(IniFile, ReadsKeysAcrossSectionsLikeThePlatformsIniFunctions)
{
    const IniFile ini = IniFile::Parse("; written by hand\r\n"
                                       "[GENERAL]\r\n"
                                       "DATAPATH=C:\\Program Files\\Lumidrax\\DATA\\\r\n"
                                       "  FontName =  Courier New  \r\n"
                                       "EMPTY=\r\n"
                                       "QUOTED=\"a b\"\r\n"
                                       "EQ=a=b\r\n"
                                       "PORT=1\r\n"
                                       "PORT=2\r\n"
                                       "junk line\r\n"
                                       "[ main ]\r\n"
                                       "state=3\r\n"
                                       "[GENERAL]\r\n"
                                       "LATE=x\r\n");
    // Values are taken as they are: backslashes stay.
    EXPECT_EQ(ini.Get("GENERAL", "DATAPATH"), "C:\\Program Files\\Lumidrax\\DATA\\");
    // Blanks around key and value go, case does not matter.
    EXPECT_EQ(ini.Get("general", "FONTNAME"), "Courier New");
    EXPECT_EQ(ini.Get("GENERAL", "EMPTY"), "");
    EXPECT_EQ(ini.Get("GENERAL", "QUOTED"), "a b");
    EXPECT_EQ(ini.Get("GENERAL", "EQ"), "a=b");
    // First of equal keys and of equal sections wins.
    EXPECT_EQ(ini.Get("GENERAL", "PORT"), "1");
    EXPECT_EQ(ini.Get("GENERAL", "LATE"), std::nullopt);
    EXPECT_EQ(ini.Get("MAIN", "STATE"), "3");
    EXPECT_EQ(ini.Get("MAIN", "TOP"), std::nullopt);
    EXPECT_EQ(ini.Get("CURVES", "INFO"), std::nullopt);
    EXPECT_EQ(ini.Get("GENERAL", "junk line"), std::nullopt);
    EXPECT_EQ(ini.LineEnd(), "\r\n");
}

TEST(IniFile, RewriteChangesOnlyTheKeysSetAndKeepsEverythingElseInPlace)
{
    const std::string original = "\xEF\xBB\xBF; comment\n"
                                 "[GENERAL]\n"
                                 "DATAPATH=/old/\n"
                                 "UNKNOWN=keep me\n"
                                 "\n"
                                 "[PORTS]\n"
                                 "COM5=/dev/rfcomm0\n"
                                 "\n"
                                 "[MAIN]\n"
                                 "TOP=1\n";
    IniFile ini = IniFile::Parse(original);
    EXPECT_EQ(ini.ToText(), original.substr(3)); // untouched text comes back (without the mark)

    ini.Set("general", "datapath", "/new/");
    ini.Set("GENERAL", "SAVEROOT", "/root/");
    ini.Set("CURVES", "INFO", "1");
    ini.Set("MAIN", "WIDTH", "line\nbreak");
    ini.Set("MAIN", "PADDED", " x ");
    ini.Set("MAIN", "QUOTES", "'q'");
    EXPECT_EQ(ini.ToText(), "; comment\n"
                            "[GENERAL]\n"
                            "datapath=/new/\n"
                            "UNKNOWN=keep me\n"
                            "SAVEROOT=/root/\n"
                            "\n"
                            "[PORTS]\n"
                            "COM5=/dev/rfcomm0\n"
                            "\n"
                            "[MAIN]\n"
                            "TOP=1\n"
                            "WIDTH=line break\n"
                            "PADDED=\" x \"\n"
                            "QUOTES=\"'q'\"\n"
                            "[CURVES]\n"
                            "INFO=1\n");
    // What was written reads back.
    const IniFile again = IniFile::Parse(ini.ToText());
    EXPECT_EQ(again.Get("GENERAL", "DATAPATH"), "/new/");
    EXPECT_EQ(again.Get("GENERAL", "SAVEROOT"), "/root/");
    EXPECT_EQ(again.Get("CURVES", "INFO"), "1");
    EXPECT_EQ(again.Get("MAIN", "PADDED"), " x ");
    EXPECT_EQ(again.Get("MAIN", "QUOTES"), "'q'");
    EXPECT_EQ(again.Keys("PORTS"), std::vector<std::string>{"COM5"});
}

TEST(IniFile, NewFileUsesCrLfAndOddBytesNeverBreakParsing)
{
    IniFile fresh;
    fresh.Set("GENERAL", "A", "1");
    EXPECT_EQ(fresh.ToText(), "[GENERAL]\r\nA=1\r\n");

    // Headers without a closing bracket, keys before any section, NUL bytes
    // and a lone CR are kept as lines and never read as keys of a section.
    using namespace std::string_literals;
    const std::string odd = "KEY=outside\n[BROKEN\nX=1\n=novalue\n\0=\x01\r\n[]\nY=2\r"s;
    const IniFile ini = IniFile::Parse(odd);
    EXPECT_EQ(ini.Get("", "KEY"), std::nullopt);
    EXPECT_EQ(ini.Get("BROKEN", "X"), "1");
    EXPECT_EQ(ini.Get("", "Y"), "2");
    EXPECT_EQ(IniFile::Parse("[A]\rB=1\rC=2").Get("A", "C"), "2"); // lone CR ends lines too
    EXPECT_EQ(IniFile::Parse(ini.ToText()).ToText(), ini.ToText());

    // Found by fuzzing: a second byte order mark in front hid the first
    // header until the file was written and read again.
    const IniFile twoMarks = IniFile::Parse("\xEF\xBB\xBF\xEF\xBB\xBF[GENERAL]\r\nA=1\r\n");
    EXPECT_EQ(twoMarks.Get("GENERAL", "A"), "1");
    EXPECT_EQ(twoMarks.ToText(), "[GENERAL]\r\nA=1\r\n");
}

} // namespace
} // namespace lumidrax
