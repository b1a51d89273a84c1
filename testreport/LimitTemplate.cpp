#include "LimitTemplate.h"

#include "FileIO.h"
#include "JsonLines.h"
#include "NamedValue.h"
#include "NumberText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>

namespace lumidrax {

namespace {

using Json = nlohmann::json;

constexpr std::uintmax_t kMaxTemplateBytes = 1u << 20;

struct KindSpec {
    CriterionKind Kind;
    std::string_view Name;
    // The keys it takes besides "type"; the first is the limit.
    std::array<std::string_view, 2> Keys;
};

constexpr std::array<KindSpec, 6> kKinds = {{
    {CriterionKind::EndLength, "end-length", {"length", "tolerance"}},
    {CriterionKind::NewEvents, "new-events", {"max-level", ""}},
    {CriterionKind::MovedEvents, "moved-events", {"max-shift", ""}},
    {CriterionKind::DCResistanceMin, "dc-resistance-min", {"ohms", ""}},
    {CriterionKind::DCVoltageMax, "dc-voltage-max", {"volts", ""}},
    {CriterionKind::NoEventBefore, "no-event-before", {"distance", "kind"}},
}};

constexpr NamedValue<EventClass> kClasses[] = {
    {EventClass::Open, "open"},        {EventClass::Short, "short"},
    {EventClass::EndOpen, "end-open"}, {EventClass::EndShort, "end-short"},
    {EventClass::End, "end"},          {EventClass::Echo, "echo"},
    {EventClass::Any, "any"},
};

// Messages that name the line of what they are about.
class Reader {
  public:
    Reader(std::string_view text, std::string source)
        : lines_(JsonValueLines(text)), source_(std::move(source))
    {
    }

    int LineOf(const std::string& pointer) const
    {
        // The nearest enclosing value that has a line.
        std::string p = pointer;
        for (;;) {
            if (const auto it = lines_.find(p); it != lines_.end())
                return it->second;
            const std::size_t slash = p.rfind('/');
            if (slash == std::string::npos)
                return 1;
            p.erase(slash);
        }
    }
    [[noreturn]] void Fail(const std::string& pointer, const std::string& what) const
    {
        const int line = LineOf(pointer);
        throw LimitTemplateError(source_ + ", line " + std::to_string(line) + ": " + what, line);
    }

  private:
    std::map<std::string, int> lines_;
    std::string source_;
};

std::string Shown(const Json& value)
{
    return value.dump();
}

// A limit: a JSON number or a text with the decimal comma, 0 or more.
long double Limit(const Reader& r, const Json& value, const std::string& pointer, const std::string& what)
{
    std::optional<long double> v;
    if (value.is_number())
        v = value.get<long double>();
    else if (value.is_string())
        v = ParseDecimal(TrimBlanks(value.get<std::string>()));
    if (!v)
        r.Fail(pointer, what + " must be a number (as 2 or \"2,5\"), not " + Shown(value));
    if (!(*v >= 0))
        r.Fail(pointer, what + " must be 0 or more, not " + Shown(value));
    return *v;
}

Criterion ReadCriterion(const Reader& r, const Json& item, int index)
{
    const std::string at = "/criteria/" + std::to_string(index);
    const std::string which = "criterion " + std::to_string(index + 1);
    if (!item.is_object())
        r.Fail(at, which + " must be an object {\"type\": ...}, not " + Shown(item));
    const auto type = item.find("type");
    if (type == item.end())
        r.Fail(at, which + " has no \"type\"");
    const auto found = std::find_if(kKinds.begin(), kKinds.end(), [&](const KindSpec& k) {
        return type->is_string() && type->get<std::string>() == k.Name;
    });
    if (found == kKinds.end()) {
        std::string names;
        for (const KindSpec& k : kKinds)
            names += (names.empty() ? "" : ", ") + std::string(k.Name);
        r.Fail(at + "/type", which + ": unknown type " + Shown(*type) + " (one of " + names + ")");
    }
    Criterion c;
    c.Kind = found->Kind;
    c.Line = r.LineOf(at);
    const std::string named = which + " (" + std::string(found->Name) + ")";
    for (const auto& [key, value] : item.items()) {
        if (key != "type" && key != found->Keys[0] && key != found->Keys[1])
            r.Fail(at + "/" + key, named + ": unknown key \"" + key + "\"");
    }
    for (std::string_view key : found->Keys) {
        if (key.empty())
            continue;
        const std::string k(key);
        if (!item.contains(k))
            r.Fail(at, named + " has no \"" + k + "\"");
        const Json& value = item.at(k);
        const std::string pointer = at + "/" + k;
        if (key == "kind") {
            if (!value.is_string() || !ValueNamed(kClasses, value.get<std::string>(), c.Events)) {
                std::string names;
                for (const NamedValue<EventClass>& p : kClasses)
                    names += (names.empty() ? "" : ", ") + std::string(p.Name);
                r.Fail(pointer, named + ": \"kind\" must be one of " + names + ", not " + Shown(value));
            }
        } else if (key == "tolerance") {
            c.Tolerance = Limit(r, value, pointer, named + ": \"" + k + "\"");
        } else {
            c.Limit = Limit(r, value, pointer, named + ": \"" + k + "\"");
        }
    }
    return c;
}

} // namespace

std::string_view CriterionKindName(CriterionKind kind)
{
    for (const KindSpec& k : kKinds)
        if (k.Kind == kind)
            return k.Name;
    return "?";
}

std::string_view EventClassName(EventClass c)
{
    return NameOf(kClasses, c, "?");
}

bool EventInClass(EventKind kind, EventClass c)
{
    switch (c) {
    case EventClass::Open:
        return kind == EventKind::Open || kind == EventKind::EndOpen;
    case EventClass::Short:
        return kind == EventKind::Short || kind == EventKind::EndShort;
    case EventClass::EndOpen:
        return kind == EventKind::EndOpen;
    case EventClass::EndShort:
        return kind == EventKind::EndShort;
    case EventClass::End:
        return kind == EventKind::EndOpen || kind == EventKind::EndShort;
    case EventClass::Echo:
        return kind == EventKind::Echo;
    case EventClass::Any:
        return kind != EventKind::Launch;
    }
    return false;
}

LimitTemplate ParseLimitTemplate(std::string_view text, const std::string& source)
{
    Json doc;
    try {
        doc = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& e) {
        const int line = LineOfOffset(text, e.byte > 0 ? e.byte - 1 : 0);
        std::string reason = e.what();
        // "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ..."
        if (const std::size_t colon = reason.find(": "); colon != std::string::npos)
            reason.erase(0, colon + 2);
        throw LimitTemplateError(source + ", line " + std::to_string(line) + ": not JSON: " + reason, line);
    } catch (const Json::exception& e) {
        // A number too large for a double: the parser gives no position.
        std::string reason = e.what();
        if (const std::size_t bracket = reason.find("] "); bracket != std::string::npos)
            reason.erase(0, bracket + 2);
        throw LimitTemplateError(source + ": not JSON: " + reason, 0);
    }
    const Reader r(text, source);
    if (!doc.is_object())
        r.Fail("", "the template must be an object {\"name\": ..., \"criteria\": [...]}");
    LimitTemplate t;
    for (const auto& [key, value] : doc.items()) {
        if (key == "name") {
            if (!value.is_string())
                r.Fail("/name", "\"name\" must be a text, not " + Shown(value));
            t.Name = value.get<std::string>();
        } else if (key != "criteria") {
            r.Fail("/" + key, "unknown key \"" + key + "\" (the template has \"name\" and \"criteria\")");
        }
    }
    const auto criteria = doc.find("criteria");
    if (criteria == doc.end())
        r.Fail("", "the template has no \"criteria\"");
    if (!criteria->is_array())
        r.Fail("/criteria", "\"criteria\" must be a list [...], not " + Shown(*criteria));
    if (criteria->empty())
        r.Fail("/criteria", "the template lists no criteria: a report with nothing checked cannot pass");
    for (std::size_t i = 0; i < criteria->size(); ++i)
        t.Criteria.push_back(ReadCriterion(r, (*criteria)[i], static_cast<int>(i)));
    return t;
}

LimitTemplate LoadLimitTemplate(const std::string& path)
{
    std::string bytes;
    const FileOutcome read = ReadFileBytes(path, kMaxTemplateBytes, bytes);
    if (!read.Ok())
        throw LimitTemplateError(path + ": the limit template cannot be read (" + read.Reason + ")", 0);
    return ParseLimitTemplate(bytes, path);
}

} // namespace lumidrax
