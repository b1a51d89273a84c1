add_executable(settings_tests
  ${CMAKE_CURRENT_LIST_DIR}/IniFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFileTest.cpp
)
target_link_libraries(settings_tests PRIVATE lumidrax_settings lumidrax_testsupport GTest::gtest_main)
gtest_discover_tests(settings_tests DISCOVERY_MODE PRE_TEST)
