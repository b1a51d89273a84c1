# lumidrax_link_items(target out): the items a target links, directly and
# to its users (LINK_LIBRARIES and INTERFACE_LINK_LIBRARIES), with the
# markers of items added from another directory left out and $<LINK_ONLY:x>
# taken as x. Shared by the Qt-free check and the layer check.
include_guard(GLOBAL)

function(lumidrax_link_items target out)
  set(items)
  foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(libs ${target} ${prop})
    if(libs)
      foreach(item IN LISTS libs)
        if(item MATCHES "^::@")
          continue()
        endif()
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
        list(APPEND items "${item}")
      endforeach()
    endif()
  endforeach()
  set(${out} ${items} PARENT_SCOPE)
endfunction()
