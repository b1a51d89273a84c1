#pragma once

// The decoder context the decoding fuzz targets run with: automatic names
// below /fuzz/ at a fixed time, reports kept in the given list.

#include "DecodeTransfer.h"

namespace lumidrax::fuzz {

inline DecoderContext FuzzDecoderContext(ConnectionMode mode, TReportList& reports)
{
    DecoderContext ctx;
    ctx.Mode = mode;
    ctx.AutoName = true;
    ctx.SaveRoot = "/fuzz/";
    ctx.Now = FixedClock({2011, 3, 5, 14, 2, 9});
    ctx.Reports = &reports;
    return ctx;
}

} // namespace lumidrax::fuzz
