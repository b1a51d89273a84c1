# lumidrax_settings: the INI reader/writer and the settings file, without Qt
# (unit-tested and fuzzed alone).
add_library(lumidrax_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp
)
target_include_directories(lumidrax_settings PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lumidrax_settings PUBLIC lumidrax_model)
set_target_properties(lumidrax_settings PROPERTIES POSITION_INDEPENDENT_CODE ON)
