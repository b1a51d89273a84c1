// libFuzzer target: any bytes as a settings file. The reader must never
// crash, hang or read beyond the data, the settings must stay usable, and
// writing them back (in the encoding the bytes had) must give a file that
// reads back to the same values.

#include "IniFile.h"
#include "SettingsFile.h"
#include "SettingsTextCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumidrax;
    const DecodedSettingsText decoded =
        DecodeSettingsText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!decoded.Problem.empty())
        return 0;
    const IniFile ini = IniFile::Parse(decoded.Text);
    const LoadedSettings loaded = ReadSettings(ini, "/data/");
    const Settings& s = loaded.Values;
    if ((s.LineWidth != 1 && s.LineWidth != 3 && s.LineWidth != 5) || s.ChartListMode < 0 ||
        s.ChartListMode > 2 || s.ReportFontSize < 1 || s.Width < 1 || s.Height < 1 || s.ChartListHeight < 0)
        std::abort();

    // Round trip: the full form written into the same text, in the
    // encoding the bytes had, reads back as the settings written (PORT
    // carries Bluetooth port 1).
    IniFile rewritten = ini;
    WriteSettings(rewritten, s, true);
    const DecodedSettingsText again =
        DecodeSettingsText(EncodeSettingsText(rewritten.ToText(), decoded.Encoding));
    if (!again.Problem.empty())
        std::abort();
    Settings back = ReadSettings(IniFile::Parse(again.Text), "/data/").Values;
    Settings expected = s;
    expected.Port = s.PortBT1;
    if (s.WindowState != kWindowStateNormal && s.WindowState != kWindowStateMaximized) {
        // Nothing of the window was written: what the text had stays.
        back.WindowState = expected.WindowState;
        back.Top = expected.Top;
        back.Left = expected.Left;
        back.Width = expected.Width;
        back.Height = expected.Height;
    }
    if (!(back == expected))
        std::abort();
    return 0;
}
