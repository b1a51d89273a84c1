include(${CMAKE_CURRENT_LIST_DIR}/LinkItems.cmake)

# lumidrax_check_layers(ROOT dir [QT_FREE folder...] LAYERS "folder: below..." ...)
# stops the configure when a folder reaches a folder it may not use:
#   - a source file (*.cpp, *.h) of a folder that includes, with
#     #include "X.h", a header that lies in another folder of the table not
#     named after its colon;
#   - a target defined in a folder that links a target of such a folder;
#   - a source file of a QT_FREE folder that includes a Qt header (<Q...>).
# Each LAYERS entry is "folder: folder...", the folders relative to ROOT
# (for example "app/reports: app/chartpage app/dialogs settings model").
# Headers of folders outside the table (generated, the standard library,
# third-party libraries) are not looked at. The message names the file or
# the target, the header or the library, and what the folder may use. Call
# it after every target_link_libraries() of those folders, that is at the
# end of the top-level CMakeLists.txt.

function(_lumidrax_layer_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _lumidrax_layer_targets(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The folders one may use, as the messages name them.
function(_lumidrax_allowed_text allowed out)
  string(REPLACE ";" " " text "${allowed}")
  if(text STREQUAL "")
    set(text "nothing of the table")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(lumidrax_check_layers)
  cmake_parse_arguments(L "" "ROOT" "QT_FREE;LAYERS" ${ARGN})
  if(NOT L_ROOT)
    message(FATAL_ERROR "lumidrax_check_layers: no ROOT")
  endif()

  # The table: the folders, what each may use, and the header names each
  # folder holds.
  set(folders)
  foreach(entry IN LISTS L_LAYERS)
    if(NOT entry MATCHES "^([^:]+):(.*)$")
      message(FATAL_ERROR "lumidrax_check_layers: \"${entry}\" is not \"folder: folder...\"")
    endif()
    string(STRIP "${CMAKE_MATCH_1}" folder)
    string(STRIP "${CMAKE_MATCH_2}" below)
    string(REGEX REPLACE "[ \t\n]+" ";" below "${below}")
    list(APPEND folders ${folder})
    string(MAKE_C_IDENTIFIER "${folder}" id)
    set(may_${id} ${below})
    foreach(other IN LISTS below)
      if(NOT other IN_LIST folders)
        message(FATAL_ERROR "lumidrax_check_layers: ${folder} names ${other}, which is not above it in the table")
      endif()
    endforeach()
    file(GLOB headers RELATIVE ${L_ROOT}/${folder} ${L_ROOT}/${folder}/*.h)
    foreach(header IN LISTS headers)
      string(MAKE_C_IDENTIFIER "${header}" hid)
      set(home_${hid} ${folder})
    endforeach()
  endforeach()

  set(violations)
  foreach(folder IN LISTS folders)
    string(MAKE_C_IDENTIFIER "${folder}" id)
    set(allowed ${may_${id}})
    _lumidrax_allowed_text("${allowed}" allowed_text)
    set(qt_free FALSE)
    if(folder IN_LIST L_QT_FREE)
      set(qt_free TRUE)
    endif()

    # The includes of its files.
    file(GLOB sources ${L_ROOT}/${folder}/*.cpp ${L_ROOT}/${folder}/*.h)
    foreach(source IN LISTS sources)
      file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
      file(RELATIVE_PATH source_name ${L_ROOT} ${source})
      foreach(line IN LISTS includes)
        if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
          get_filename_component(header "${CMAKE_MATCH_1}" NAME)
          string(MAKE_C_IDENTIFIER "${header}" hid)
          set(home ${home_${hid}})
          if(home AND NOT home STREQUAL folder AND NOT home IN_LIST allowed)
            list(APPEND violations "${source_name} includes ${header} of ${home}/, but ${folder}/ may use ${allowed_text}")
          endif()
        elseif(qt_free AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z0-9_/]*(\\.h)?)>")
          list(APPEND violations "${source_name} includes <${CMAKE_MATCH_1}>, but ${folder}/ is free of Qt")
        endif()
      endforeach()
    endforeach()
  endforeach()

  # The libraries each folder's targets link.
  _lumidrax_layer_targets(${CMAKE_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(target_dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder ${L_ROOT} ${target_dir})
    if(NOT folder IN_LIST folders)
      continue()
    endif()
    string(MAKE_C_IDENTIFIER "${folder}" id)
    set(allowed ${may_${id}})
    _lumidrax_allowed_text("${allowed}" allowed_text)
    lumidrax_link_items(${target} items)
    foreach(item IN LISTS items)
      if(NOT TARGET ${item})
        continue()
      endif()
      get_target_property(imported ${item} IMPORTED)
      if(imported)
        continue()
      endif()
      get_target_property(item_dir ${item} SOURCE_DIR)
      file(RELATIVE_PATH item_folder ${L_ROOT} ${item_dir})
      if(item_folder IN_LIST folders AND NOT item_folder STREQUAL folder AND NOT item_folder IN_LIST allowed)
        list(APPEND violations "target ${target} of ${folder}/ links ${item} of ${item_folder}/, but ${folder}/ may use ${allowed_text}")
      endif()
    endforeach()
  endforeach()

  if(violations)
    list(REMOVE_DUPLICATES violations)
    string(REPLACE ";" "\n  " text "${violations}")
    message(FATAL_ERROR "Layer check: a folder uses one it may not (CONTRIBUTING.md, Layers):\n  ${text}\n"
                        "Move the code down into a folder both may use, or change the table in CMakeLists.txt.")
  endif()
endfunction()
