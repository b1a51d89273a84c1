# lumidrax_chartlist: the chart list panel. ChartListLogic is plain C++ (no
# Qt in its header); the panel and its item delegate use Qt Widgets.
if(LUMIDRAX_BUILD_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  add_library(lumidrax_chartlist STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ChartListLogic.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListTextFit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChartListDelegate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChartListPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChartListColours.h
    ${CMAKE_CURRENT_LIST_DIR}/ChartListDelegate.h
    ${CMAKE_CURRENT_LIST_DIR}/ChartListPanel.h
  )
  set_target_properties(lumidrax_chartlist PROPERTIES AUTOMOC ON)
  target_include_directories(lumidrax_chartlist PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(lumidrax_chartlist PUBLIC lumidrax_view lumidrax_model Qt6::Widgets)
endif()
