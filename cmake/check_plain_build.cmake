# Builds the program and the stand-in library the way someone without our
# presets would: a fresh folder, the given build type (or none), no tests, no
# options. Fails when the build fails, when any file is compiled with
# warnings as errors, or when the compiler warns at all.
#
#   cmake -DSOURCE_DIR=<tree> -DBINARY_DIR=<scratch> [-DBUILD_TYPE=<type>]
#         [-DTOOLCHAIN_FILE=<file>] -DTARGETS=<a;b> -P check_plain_build.cmake

cmake_minimum_required(VERSION 3.25)

foreach(required SOURCE_DIR BINARY_DIR TARGETS)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "check_plain_build: ${required} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${BINARY_DIR})
set(configure_arguments -S ${SOURCE_DIR} -B ${BINARY_DIR} -DDALVENIX_BUILD_TESTS=OFF)
if(BUILD_TYPE)
  list(APPEND configure_arguments -DCMAKE_BUILD_TYPE=${BUILD_TYPE})
endif()
if(TOOLCHAIN_FILE)
  list(APPEND configure_arguments --toolchain ${TOOLCHAIN_FILE})
endif()
list(JOIN configure_arguments " " shown)
message(STATUS "cmake ${shown}")
execute_process(COMMAND ${CMAKE_COMMAND} ${configure_arguments}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The plain configure failed:\n${output}")
endif()

set(build_arguments --build ${BINARY_DIR} -j 2 --target ${TARGETS})
list(JOIN build_arguments " " shown)
message(STATUS "cmake ${shown}")
execute_process(COMMAND ${CMAKE_COMMAND} ${build_arguments}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The plain build failed:\n${output}")
endif()
if(output MATCHES "warning:")
  message(FATAL_ERROR "The plain build warns:\n${output}")
endif()

file(READ ${BINARY_DIR}/compile_commands.json commands)
if(commands MATCHES "-Werror|-WX|/WX")
  message(FATAL_ERROR "A plain build compiles with warnings as errors; only the presets may")
endif()
message(STATUS "The plain build (${BUILD_TYPE}) built ${TARGETS} without a warning.")
