// libFuzzer target: any bytes as a limit template. The reader either gives
// a template with at least one criterion and limits of 0 or more, or refuses
// it with a LimitTemplateError whose line lies inside the text (0 for a
// number too large, which the parser gives no place for); never a crash, a
// hang or another exception.

#include "LimitTemplate.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumidrax;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    try {
        const LimitTemplate t = ParseLimitTemplate(text, "fuzz.json");
        if (t.Criteria.empty())
            std::abort();
        for (const Criterion& c : t.Criteria)
            if (!(c.Limit >= 0) || !(c.Tolerance >= 0) || c.Line < 1 || c.Line > lines)
                std::abort();
    } catch (const LimitTemplateError& e) {
        if (e.Line() < 0 || e.Line() > lines)
            std::abort();
    }
    return 0;
}
