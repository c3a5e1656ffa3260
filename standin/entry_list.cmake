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

# dvn_write_def(<file> [LIBRARY <name>] [SUFFIX <suffix>]): a module-definition
# file that exports every entry under the vendor's decorated name, as in
# "_dvn_find@16 = dvn_find@16": the function of the operation's name plus
# <suffix>, which is "@16" for 32-bit __stdcall functions and empty otherwise.
# The file is rewritten only when its text changes.
function(dvn_write_def file)
  cmake_parse_arguments(PARSE_ARGV 1 def "" "LIBRARY;SUFFIX" "")
  dvn_entry_names(entries)
  set(text "; Exports the vendor's decorated names and nothing else. Written by the\n")
  string(APPEND text "; build from DVN_ENTRIES in device/entry_points.h.\n")
  if(def_LIBRARY)
    string(APPEND text "LIBRARY ${def_LIBRARY}\n")
  endif()
  string(APPEND text "EXPORTS\n")
  foreach(entry IN LISTS entries)
    string(APPEND text "  _${entry}@16 = ${entry}${def_SUFFIX}\n")
  endforeach()
  file(WRITE ${file}.new "${text}")
  configure_file(${file}.new ${file} COPYONLY)
endfunction()
