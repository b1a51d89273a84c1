#pragma once
// What the decoders need besides the chart collection and the received
// bytes: the connection mode, the Bluetooth frame length announced by the
// frame header, the naming settings, the clock, the report list, and the
// application's hooks for messages and for saving a new report.
//
// One context lives beside the collection for the whole run; the transfer
// state machine sets ExpectedFrameLength from each frame header and the
// decoders set it back to -1 after every frame they look at.

#include "LocalDateTime.h"
#include "TReportList.h"

#include <functional>
#include <string>

namespace lumidrax {

enum class ConnectionMode { COM, BT };

struct DecoderContext {
    ConnectionMode Mode = ConnectionMode::COM;
    // Frame length F + 2 announced by the last Bluetooth frame header;
    // -1 when no frame is announced.
    int ExpectedFrameLength = -1;

    // Received charts and reports get automatic file names.
    bool AutoName = false;
    // A new report is saved at once (through SaveReport).
    bool AutoSave = false;
    // Root folder of automatic names; a "/" is added when it lacks one.
    std::string SaveRoot;
    Clock Now = SystemLocalNow;

    // Received reports join this list. Without a list a report transfer is
    // still checked and its result returned, but the report goes nowhere.
    TReportList* Reports = nullptr;

    // Shows a message box (caption, text) that a decoder raises itself,
    // such as "too many charts opened" during a memory read-out.
    std::function<void(const std::string& caption, const std::string& text)> ShowMessage;
    // A new report was added at this index: the reports page shows it.
    std::function<void(int index)> ReportAdded;
    // The reports page's Save command for the report at this index; called
    // for a new report when AutoSave is on.
    std::function<void(int index)> SaveReport;
};

} // namespace lumidrax
