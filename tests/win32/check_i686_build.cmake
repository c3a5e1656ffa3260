# Examines the 32-bit build, which this machine cannot run:
#  - dalvenix-test.exe is a PE32 i386 GUI program that imports only Windows'
#    own DLLs: not dalvenix.dll (loaded at run time) and no MinGW runtime;
#  - it links in none of libstdc++'s iostreams, locales or file system
#    library, which would take it far past its 300 KB (its symbol table,
#    before the install strips it, names what is in it);
#  - it carries its version resource (the product name and version text of
#    CMakeLists.txt: ProductName DALVENIX, versions 1.00) and
#    the manifest with per-monitor DPI awareness;
#  - dalvenix.dll is a PE32 i386 DLL exporting exactly the decorated
#    __stdcall names of ENTRIES (the operations, separated by commas: the six
#    of DVN_ENTRIES), and needs no MinGW runtime either.
#
#   cmake -DOBJDUMP=... -DPROGRAM=... -DLIBRARY=... -DPRODUCT_NAME=... -DVERSION_TEXT=...
#         -DENTRIES=dvn_find,... -P check_i686_build.cmake

cmake_minimum_required(VERSION 3.25)

set(failures "")
macro(fail message)
  list(APPEND failures "${message}")
endmacro()

function(objdump_headers file out)
  execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${file} failed")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The DLLs a file imports, lower-cased.
function(imported_dlls headers out)
  string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${headers}")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "DLL Name: " "" name "${line}")
    string(STRIP "${name}" name)
    string(TOLOWER "${name}" name)
    list(APPEND names "${name}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Windows' own DLLs: what a program may import and still need nothing else.
set(windows_dlls kernel32.dll user32.dll gdi32.dll msvcrt.dll advapi32.dll shell32.dll
                 comctl32.dll ole32.dll version.dll uxtheme.dll imm32.dll ntdll.dll)

macro(check_pe32_i386 name headers)
  if(NOT "${headers}" MATCHES "file format pei-i386")
    fail("${name} is not a 32-bit x86 PE file")
  endif()
  if(NOT "${headers}" MATCHES "Magic[ \t]+010b[ \t]+\\(PE32\\)")
    fail("${name} does not have the PE32 optional header")
  endif()
endmacro()

macro(check_only_windows_dlls name headers)
  imported_dlls("${headers}" imports)
  foreach(dll IN LISTS imports)
    if(dll MATCHES "^(libgcc|libstdc\\+\\+|libwinpthread)")
      fail("${name} imports the MinGW runtime DLL ${dll}")
    elseif(dll STREQUAL "dalvenix.dll")
      fail("${name} imports dalvenix.dll, which must be loaded at run time")
    elseif(NOT dll IN_LIST windows_dlls AND NOT dll MATCHES "^api-ms-win-")
      fail("${name} imports ${dll}, which is not one of Windows' own DLLs")
    endif()
  endforeach()
  message(STATUS "${name} imports: ${imports}")
endmacro()

# --- the program ---------------------------------------------------------------

objdump_headers(${PROGRAM} program)
check_pe32_i386(dalvenix-test.exe "${program}")
if(NOT program MATCHES "Subsystem[ \t]+00000002[ \t]+\\(Windows GUI\\)")
  fail("dalvenix-test.exe is not a GUI program")
endif()
if(program MATCHES "Characteristics[^\n]*\n([ \t]+[^\n]+\n)*[ \t]+DLL\n")
  fail("dalvenix-test.exe is marked as a DLL")
endif()
check_only_windows_dlls(dalvenix-test.exe "${program}")

execute_process(COMMAND ${OBJDUMP} -t ${PROGRAM} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -t ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "[^ \n]*(ios_base|St6locale|10filesystem|basic_filebuf)[^ \n]*" heavy
       "${symbols}")
if(NOT symbols MATCHES "wWinMain")
  fail("dalvenix-test.exe has no symbol table to look for iostreams in")
elseif(heavy)
  list(REMOVE_DUPLICATES heavy)
  list(LENGTH heavy count)
  list(SUBLIST heavy 0 5 some)
  list(JOIN some " " some)
  set(message "links in iostreams, locales or std::filesystem: ${count} symbols, ${some}")
  fail("dalvenix-test.exe ${message}")
endif()

# Resource types in the .rsrc directory: 0x10 VERSION, 0x18 MANIFEST.
string(REGEX MATCH "The \\.rsrc Resource Directory section:.*" resources "${program}")
if(NOT resources MATCHES "Type Table:[^\n]*\n[^\n]*Entry: ID: 0x000010")
  fail("dalvenix-test.exe has no version resource")
endif()
if(NOT resources MATCHES "Entry: ID: 0x000018")
  fail("dalvenix-test.exe has no manifest resource")
endif()

# The version strings, UTF-16 in the resource: each key directly followed by
# its value. Stray code bytes can read as text with a square bracket, which
# would keep a CMake list from splitting there: such strings are left out.
file(STRINGS ${PROGRAM} wide_strings ENCODING UTF-16LE LENGTH_MINIMUM 3 REGEX "^[^][]*$")
foreach(pair IN ITEMS "ProductName=${PRODUCT_NAME}" "FileVersion=${VERSION_TEXT}"
                      "ProductVersion=${VERSION_TEXT}")
  string(REPLACE "=" ";" key_value "${pair}")
  list(GET key_value 0 key)
  list(GET key_value 1 value)
  list(FIND wide_strings "${key}" at)
  if(at EQUAL -1)
    fail("the version resource has no ${key}")
    continue()
  endif()
  math(EXPR next "${at} + 1")
  list(LENGTH wide_strings count)
  if(next LESS count)
    list(GET wide_strings ${next} found)
  else()
    set(found "<nothing>")
  endif()
  if(NOT found STREQUAL value)
    fail("the version resource's ${key} is \"${found}\", expected \"${value}\"")
  endif()
endforeach()
list(FIND wide_strings "FileDescription" at)
if(at EQUAL -1)
  fail("the version resource has no FileDescription")
endif()

file(STRINGS ${PROGRAM} manifest_lines REGEX "dpiAwareness")
if(NOT manifest_lines MATCHES "PerMonitorV2")
  fail("the manifest does not ask for per-monitor DPI awareness")
endif()

# --- the stand-in library --------------------------------------------------------

objdump_headers(${LIBRARY} library)
check_pe32_i386(dalvenix.dll "${library}")
if(NOT library MATCHES "Characteristics[^\n]*\n([ \t]+[^\n]+\n)*[ \t]+DLL\n")
  fail("dalvenix.dll is not marked as a DLL")
endif()
check_only_windows_dlls(dalvenix.dll "${library}")

string(REGEX MATCH "\\[Ordinal/Name Pointer] Table\n([ \t]+\\[ *[0-9]+] [^\n]+\n)*" table
       "${library}")
string(REGEX MATCHALL "\\[ *[0-9]+] [^\n]+" entries "${table}")
set(exports "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^\\[ *[0-9]+] " "" name "${entry}")
  list(APPEND exports "${name}")
endforeach()
list(SORT exports)
string(REPLACE "," ";" expected "${ENTRIES}")
list(TRANSFORM expected REPLACE "^(.+)$" "_\\1@16")
list(SORT expected)
if(NOT expected)
  fail("no entries given to compare the exports with")
endif()
if(NOT exports STREQUAL expected)
  fail("dalvenix.dll exports [${exports}], expected exactly [${expected}]")
endif()
message(STATUS "dalvenix.dll exports: ${exports}")

if(failures)
  list(JOIN failures "\n  " report)
  message(FATAL_ERROR "The 32-bit build is not as shipped:\n  ${report}")
endif()
message(STATUS "The 32-bit program and library are as shipped.")
