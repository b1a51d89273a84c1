add_executable(settings_tests
  ${CMAKE_CURRENT_LIST_DIR}/IniFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsDialogRulesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortOpenReasonTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortCandidatesTest.cpp
)
target_link_libraries(settings_tests PRIVATE lumidrax_settings lumidrax_port_rules lumidrax_testsupport GTest::gtest_main)
gtest_discover_tests(settings_tests DISCOVERY_MODE PRE_TEST)

if(LUMIDRAX_BUILD_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(dialogs_tests ${CMAKE_CURRENT_LIST_DIR}/DialogsTest.cpp)
  target_link_libraries(dialogs_tests PRIVATE lumidrax_dialogs lumidrax_chartpage lumidrax_settings_dialog
    lumidrax_testsupport Qt6::Test GTest::gtest)
  gtest_discover_tests(dialogs_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()

# The chart list (view/ChartList*), here beside the other tests of the
# pieces the main window is built from.
if(LUMIDRAX_BUILD_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(chartlist_tests ${CMAKE_CURRENT_LIST_DIR}/ChartListLogicTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ChartListCommandTableTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListTextFitTest.cpp)
  target_link_libraries(chartlist_tests PRIVATE lumidrax_chartlist lumidrax_testsupport GTest::gtest_main)
  gtest_discover_tests(chartlist_tests DISCOVERY_MODE PRE_TEST)

  add_executable(chartlist_widget_tests ${CMAKE_CURRENT_LIST_DIR}/ChartListPanelTest.cpp)
  target_link_libraries(chartlist_widget_tests PRIVATE lumidrax_chartlist lumidrax_testsupport Qt6::Test GTest::gtest)
  gtest_discover_tests(chartlist_widget_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
