# lumidrax_settings: the INI reader/writer and the settings file, without Qt
# (unit-tested and fuzzed alone).
add_library(lumidrax_settings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsDialogRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortOpenReason.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SystemPortView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PortCandidates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsTextCodec.cpp
)
target_include_directories(lumidrax_settings PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lumidrax_settings PUBLIC lumidrax_model)
set_target_properties(lumidrax_settings PROPERTIES POSITION_INDEPENDENT_CODE ON)

# lumidrax_dialogs: the help window, the About box, the directory chooser,
# the description editor and the placing of windows on the screen (Qt
# Widgets).
if(LUMIDRAX_BUILD_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  add_library(lumidrax_dialogs STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ProgramInfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgramIcon.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AboutBox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DirectoryChooser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DescriptionEditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FrameFit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.h
    ${CMAKE_CURRENT_LIST_DIR}/FrameFit.h
    ${CMAKE_CURRENT_LIST_DIR}/HelpWindow.h
    ${CMAKE_CURRENT_LIST_DIR}/AboutBox.h
    ${CMAKE_CURRENT_LIST_DIR}/DirectoryChooser.h
    ${CMAKE_CURRENT_LIST_DIR}/DescriptionEditor.h
  )
  set_target_properties(lumidrax_dialogs PROPERTIES AUTOMOC ON)
  target_include_directories(lumidrax_dialogs PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(lumidrax_dialogs PUBLIC lumidrax_model lumidrax_settings Qt6::Widgets)
endif()

# The help document is found in Help/ beside the program: stage help/ next
# to the executables of the build tree (installed copies: packaging/).
file(GLOB lumidrax_help_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
foreach(help_file ${lumidrax_help_files})
  get_filename_component(help_name ${help_file} NAME)
  configure_file(${help_file} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help/${help_name} COPYONLY)
endforeach()
