#pragma once
// Pictures and short captions of the chart page's tool buttons, so that each
// button is told apart at a glance (the menu captions "Selected Chart(s)"
// stand under both Save and Close). The hints in brackets stay the tooltips.

namespace lumidrax {

class ChartMenus;

void ApplyToolBarLook(ChartMenus& menus);

} // namespace lumidrax
