#pragma once
// What the window hands the command units of one page: its services, the
// page and the page's menus. Each unit's parts add what is theirs alone.
// None of them is owned.

#include "WindowServices.h"

namespace lumidrax {

template <class PageType, class MenusType> struct PageParts {
    WindowServices Services;
    PageType* Page = nullptr;
    MenusType* Menus = nullptr;
};

} // namespace lumidrax
