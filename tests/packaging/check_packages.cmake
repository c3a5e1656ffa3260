# Makes this build's packages with cpack into a scratch folder and checks
# what they hold:
#  - Windows: the ZIP holds exactly dalvenix-test.exe (stripped, under
#    300 KB), the stand-in dalvenix.dll and README.txt; the -dbg ZIP their
#    debug information;
#  - Linux: the .tar.gz and the .deb hold the launcher, the program and the
#    stand-in (stripped), the desktop entry and the README; the -dbg
#    archive and package their debug information; the .deb names its
#    dependencies.
#
#   cmake -DCPACK=... -DCONFIG=<build>/CPackConfig.cmake -DOUT=<scratch>
#         -DOBJDUMP=... -DPLATFORM=<windows|linux> -P check_packages.cmake

cmake_minimum_required(VERSION 3.25)

set(failures "")
macro(fail message)
  list(APPEND failures "${message}")
endmacro()

file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} --config ${CONFIG} -B ${OUT}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
message(STATUS "${output}")

# The sorted list of files (not folders) in an archive.
function(archive_files archive out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${archive}
                  RESULT_VARIABLE status OUTPUT_VARIABLE listing)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot list ${archive}")
  endif()
  string(REGEX REPLACE "\n$" "" listing "${listing}")
  string(REPLACE "\n" ";" entries "${listing}")
  list(FILTER entries EXCLUDE REGEX "/$")
  list(TRANSFORM entries REPLACE "^\\./" "")
  list(SORT entries)
  set(${out} "${entries}" PARENT_SCOPE)
endfunction()

macro(expect_files archive)
  archive_files(${archive} found)
  set(expected ${ARGN})
  list(SORT expected)
  if(NOT found STREQUAL expected)
    fail("${archive} holds [${found}], expected [${expected}]")
  endif()
endmacro()

function(find_one pattern out)
  file(GLOB matches ${OUT}/${pattern})
  list(LENGTH matches count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package ${pattern} in ${OUT}, found [${matches}]")
  endif()
  set(${out} ${matches} PARENT_SCOPE)
endfunction()

# A shipped file is stripped and points at its debug information.
macro(expect_stripped file)
  execute_process(COMMAND ${OBJDUMP} -h ${file} OUTPUT_VARIABLE sections RESULT_VARIABLE status)
  get_filename_component(name ${file} NAME)
  if(NOT status EQUAL 0)
    fail("${OBJDUMP} -h ${name} failed")
  elseif(sections MATCHES " \\.debug_")
    fail("${name} still carries debug sections")
  elseif(NOT sections MATCHES " \\.gnu_debuglink ")
    fail("${name} has no debug link")
  endif()
endmacro()

set(unpacked ${OUT}/unpacked)
file(MAKE_DIRECTORY ${unpacked})

if(PLATFORM STREQUAL "windows")
  find_one("dalvenix-test-*-win*-dbg.zip" debug_zip)
  string(REPLACE "-dbg.zip" ".zip" zip "${debug_zip}")
  expect_files(${zip} README.txt dalvenix-test.exe dalvenix.dll)
  expect_files(${debug_zip} .debug/dalvenix-test.exe.debug .debug/dalvenix.dll.debug)
  file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${unpacked})
  expect_stripped(${unpacked}/dalvenix-test.exe)
  expect_stripped(${unpacked}/dalvenix.dll)
  file(SIZE ${unpacked}/dalvenix-test.exe program_size)
  message(STATUS "dalvenix-test.exe in the ZIP: ${program_size} bytes")
  if(program_size GREATER 307200)
    fail("dalvenix-test.exe is ${program_size} bytes, more than 300 KB")
  endif()
  file(READ ${unpacked}/README.txt readme)
  if(NOT readme MATCHES "vendor's dalvenix.dll")
    fail("README.txt does not tell how to use the vendor's dalvenix.dll")
  endif()
  file(READ ${unpacked}/README.txt readme_bytes HEX)
  string(REGEX MATCHALL ".." bytes "${readme_bytes}")
  list(JOIN bytes " " spaced)
  string(REGEX MATCHALL "0d 0a" crlf "${spaced}")
  list(FILTER bytes INCLUDE REGEX "^0a$")
  list(LENGTH crlf crlf_count)
  list(LENGTH bytes lf_count)
  if(crlf_count EQUAL 0 OR NOT crlf_count EQUAL lf_count)
    fail("README.txt does not end its lines with CR LF, as Notepad wants")
  endif()
else()
  set(runtime_files bin/dalvenix-test lib/dalvenix-test/dalvenix-test
      lib/dalvenix-test/libdalvenix.so share/applications/dalvenix-test.desktop
      share/doc/dalvenix-test/README.md)
  set(debug_files lib/dalvenix-test/.debug/dalvenix-test.debug
      lib/dalvenix-test/.debug/libdalvenix.so.debug)
  find_one("dalvenix-test-*-linux-*-dbg.tar.gz" debug_archive)
  string(REPLACE "-dbg.tar.gz" ".tar.gz" archive "${debug_archive}")
  expect_files(${archive} ${runtime_files})
  expect_files(${debug_archive} ${debug_files})
  file(ARCHIVE_EXTRACT INPUT ${archive} DESTINATION ${unpacked})
  expect_stripped(${unpacked}/lib/dalvenix-test/dalvenix-test)
  expect_stripped(${unpacked}/lib/dalvenix-test/libdalvenix.so)

  find_program(DPKG_DEB dpkg-deb REQUIRED)
  find_one("dalvenix-test_*.deb" deb)
  find_one("dalvenix-test-dbg_*.deb" debug_deb)
  foreach(pair IN ITEMS "deb;runtime_files" "debug_deb;debug_files")
    list(GET pair 0 package)
    list(GET pair 1 files)
    execute_process(COMMAND ${DPKG_DEB} --fsys-tarfile ${${package}}
                    OUTPUT_FILE ${OUT}/${package}.tar COMMAND_ERROR_IS_FATAL ANY)
    list(TRANSFORM ${files} PREPEND "usr/" OUTPUT_VARIABLE expected)
    expect_files(${OUT}/${package}.tar ${expected})
  endforeach()
  execute_process(COMMAND ${DPKG_DEB} --field ${deb} Depends OUTPUT_VARIABLE depends
                  COMMAND_ERROR_IS_FATAL ANY)
  if(NOT depends MATCHES "libqt6widgets6")
    fail("the .deb does not depend on Qt 6 Widgets: ${depends}")
  endif()
endif()

if(failures)
  list(JOIN failures "\n  " report)
  message(FATAL_ERROR "The packages are not as shipped:\n  ${report}")
endif()
message(STATUS "The packages are as shipped.")
