# lumidrax_require_qt_free(target...): stops the configure when one of the
# targets links a Qt library, directly or through any target it links
# (LINK_LIBRARIES and INTERFACE_LINK_LIBRARIES, followed recursively). The
# message names the offender and the chain of targets that brings it in.
# Call it after every target_link_libraries() of those targets, that is at
# the end of the top-level CMakeLists.txt.

include(${CMAKE_CURRENT_LIST_DIR}/LinkItems.cmake)

# A Qt library as a link item: an imported target (Qt6::Core, Qt::Widgets),
# a file (.../libQt6Core.so.6) or a linker flag (-lQt6Core).
set(LUMIDRAX_QT_LINK_ITEM "(^|[^A-Za-z0-9_])(lib|-l)?Qt[0-9]*(::|[A-Z])")

function(_lumidrax_qt_free_walk root target chain)
  get_property(seen GLOBAL PROPERTY _LUMIDRAX_QT_FREE_SEEN_${root})
  if(target IN_LIST seen)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY _LUMIDRAX_QT_FREE_SEEN_${root} ${target})
  lumidrax_link_items(${target} items)
  foreach(item IN LISTS items)
    if(item MATCHES "${LUMIDRAX_QT_LINK_ITEM}")
      message(FATAL_ERROR "${root} must not link Qt, but links ${item} (through ${chain} -> ${item}). "
                          "Keep Qt code out of it: put it in a target of its own that links ${root}.")
    endif()
    if(TARGET ${item})
      _lumidrax_qt_free_walk(${root} ${item} "${chain} -> ${item}")
    endif()
  endforeach()
endfunction()

function(lumidrax_require_qt_free)
  foreach(target IN LISTS ARGN)
    if(NOT TARGET ${target})
      message(FATAL_ERROR "lumidrax_require_qt_free: no target ${target}")
    endif()
    _lumidrax_qt_free_walk(${target} ${target} ${target})
  endforeach()
endfunction()
