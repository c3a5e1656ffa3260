# The build itself as tests: plain builds without our presets, the install
# and the packages.

# A fresh plain build of the program and the stand-in library, the way
# someone who builds as CMake users do meets it: on Linux with each build type
# (and none), for Windows with each MinGW toolchain file and no build type.
function(add_plain_build_test name build_type toolchain_file targets)
  add_test(NAME build.plain_${name}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DBINARY_DIR=${PROJECT_BINARY_DIR}/plain-builds/${name} -DBUILD_TYPE=${build_type}
            -DTOOLCHAIN_FILE=${toolchain_file} "-DTARGETS=${targets}"
            -P ${PROJECT_SOURCE_DIR}/cmake/check_plain_build.cmake)
  set_tests_properties(build.plain_${name} PROPERTIES TIMEOUT 900)
endfunction()

if(WIN32)
  foreach(architecture i686 x86_64)
    add_plain_build_test(mingw_${architecture} ""
                         ${PROJECT_SOURCE_DIR}/cmake/mingw-${architecture}.cmake
                         "dalvenix_test_win32;dalvenix")
  endforeach()
else()
  add_plain_build_test(none "" "" "dalvenix-test;dalvenix")
  foreach(type Debug Release RelWithDebInfo)
    add_plain_build_test(${type} ${type} "" "dalvenix-test;dalvenix")
  endforeach()
endif()

# The install and the packages, made from this build.
if(WIN32)
  set(package_platform windows)
else()
  set(package_platform linux)
endif()
if(TARGET dalvenix-test AND TARGET wm_close_window)
  add_test(NAME build.install
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/packaging/install_test.sh ${PROJECT_BINARY_DIR}
            $<TARGET_FILE:wm_close_window>)
  set_tests_properties(build.install PROPERTIES
    ENVIRONMENT_MODIFICATION "DALVENIX_SIM_DEVICES=unset:;DALVENIX_SIM_TRACE=unset:;DISPLAY=unset:"
    TIMEOUT 180)
endif()
add_test(NAME build.packages
  COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND}
          -DCONFIG=${PROJECT_BINARY_DIR}/CPackConfig.cmake -DOUT=${PROJECT_BINARY_DIR}/package-check
          -DOBJDUMP=${CMAKE_OBJDUMP} -DPLATFORM=${package_platform}
          -P ${PROJECT_SOURCE_DIR}/tests/packaging/check_packages.cmake)
set_tests_properties(build.packages PROPERTIES TIMEOUT 600)
