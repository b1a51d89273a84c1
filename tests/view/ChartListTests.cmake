if(TARGET lumidrax_chartlist)
  add_executable(chartlist_tests
    ${CMAKE_CURRENT_LIST_DIR}/ChartListLogicTest.cpp
  )
  target_link_libraries(chartlist_tests PRIVATE lumidrax_chartlist lumidrax_testsupport GTest::gtest_main)
  gtest_discover_tests(chartlist_tests DISCOVERY_MODE PRE_TEST)
endif()

if(TARGET lumidrax_chartlist)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(chartlist_widget_tests ${CMAKE_CURRENT_LIST_DIR}/ChartListPanelTest.cpp)
  target_link_libraries(chartlist_widget_tests PRIVATE lumidrax_chartlist Qt6::Test GTest::gtest)
  gtest_discover_tests(chartlist_widget_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
