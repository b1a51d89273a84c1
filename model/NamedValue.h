#pragma once
// The names of an enumeration's values as a table, one row a value:
//   constexpr NamedValue<EventChange> kNames[] = {{EventChange::New, "new"}, ...};
// NameOf looks a value up, ValueNamed a name.

#include <cstddef>
#include <string_view>

namespace lumidrax {

template <typename E> struct NamedValue {
    E Value;
    const char* Name;
};

// The name of `value`; `fallback` for a value the table lacks.
template <typename E, std::size_t N>
constexpr const char* NameOf(const NamedValue<E> (&table)[N], E value, const char* fallback)
{
    for (const NamedValue<E>& row : table)
        if (row.Value == value)
            return row.Name;
    return fallback;
}

// The value named `name` (exactly); false, and `value` untouched, when no row
// has that name.
template <typename E, std::size_t N>
constexpr bool ValueNamed(const NamedValue<E> (&table)[N], std::string_view name, E& value)
{
    for (const NamedValue<E>& row : table)
        if (name == row.Name) {
            value = row.Value;
            return true;
        }
    return false;
}

} // namespace lumidrax
