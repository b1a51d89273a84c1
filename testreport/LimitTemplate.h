#pragma once
// A limit template: the criteria a chart must meet to pass, read from a
// small JSON file. No Qt.
//
//   {
//     "name": "Telephone pair, 1200 m",
//     "criteria": [
//       {"type": "end-length", "length": 1200, "tolerance": 25},
//       {"type": "new-events", "max-level": 5},
//       {"type": "moved-events", "max-shift": "2,5"},
//       {"type": "dc-resistance-min", "ohms": 10000000},
//       {"type": "dc-voltage-max", "volts": "0,5"},
//       {"type": "no-event-before", "kind": "short", "distance": 1000}
//     ]
//   }
//
// Numbers are JSON numbers or texts with the decimal comma ("2,5"); every
// limit is 0 or more, and 0 is a limit like any other. "kind" is one of
// "open" (an open or the open end), "short" (a short or the shorted end),
// "end-open", "end-short", "end" (either end), "echo" or "any" (every event
// but the launch). A key the type does not know, a missing one, a wrong type
// or value, and text that is not JSON refuse the whole template with a
// message naming the line; so does a template without criteria.

#include "EventDetection.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lumidrax {

enum class CriterionKind { EndLength, NewEvents, MovedEvents, DCResistanceMin, DCVoltageMax, NoEventBefore };

// "end-length", "new-events", "moved-events", "dc-resistance-min",
// "dc-voltage-max", "no-event-before".
std::string_view CriterionKindName(CriterionKind kind);

// The events "no-event-before" looks for.
enum class EventClass { Open, Short, EndOpen, EndShort, End, Echo, Any };
std::string_view EventClassName(EventClass c);
bool EventInClass(EventKind kind, EventClass c);

struct Criterion {
    CriterionKind Kind = CriterionKind::EndLength;
    // The length (end-length), the largest level in percent (new-events),
    // shift in metres (moved-events), the least resistance in ohms, the
    // largest voltage in volts, or the distance (no-event-before).
    long double Limit = 0;
    // end-length: the end lies within Limit +- Tolerance.
    long double Tolerance = 0;
    EventClass Events = EventClass::Any;
    // Line of the criterion in the template (1-based).
    int Line = 0;
};

struct LimitTemplate {
    std::string Name;
    std::vector<Criterion> Criteria;
};

class LimitTemplateError : public std::runtime_error {
  public:
    LimitTemplateError(const std::string& message, int line) : std::runtime_error(message), line_(line) {}
    // The line the message names (0: the file as a whole).
    int Line() const { return line_; }

  private:
    int line_;
};

// Reads a template from its text. `source` names it in the messages
// ("limits.json, line 7: ..."). Throws LimitTemplateError.
LimitTemplate ParseLimitTemplate(std::string_view text, const std::string& source);

// Reads the file (at most 1 MB). Throws LimitTemplateError, also when the
// file cannot be read.
LimitTemplate LoadLimitTemplate(const std::string& path);

} // namespace lumidrax
