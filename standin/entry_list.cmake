# The library's operations as DVN_ENTRIES in device/entry_points.h lists them,
# for what the build writes or checks from that one list: the stand-in's .def
# file and the names its exports are compared with.
set(DVN_ENTRY_HEADER ${CMAKE_CURRENT_LIST_DIR}/../device/entry_points.h)

# dvn_entry_names(<variable>): the operations in the list's order.
function(dvn_entry_names variable)
  file(STRINGS ${DVN_ENTRY_HEADER} definition REGEX "^#define DVN_ENTRIES\\(X\\)")
  string(REGEX MATCHALL "X\\(([A-Za-z_0-9]+)\\)" calls "${definition}")
  list(TRANSFORM calls REPLACE "^X\\(([A-Za-z_0-9]+)\\)$" "\\1")
  if(NOT calls)
    message(FATAL_ERROR "No operation found in the DVN_ENTRIES line of ${DVN_ENTRY_HEADER}")
  endif()
  # A change of the list configures the build again.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DVN_ENTRY_HEADER})
  set(${variable} ${calls} PARENT_SCOPE)
endfunction()
