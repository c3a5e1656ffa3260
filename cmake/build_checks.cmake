# The build itself as tests: plain builds without our presets, the install
# and the packages.

# A fresh plain build of the program and the stand-in library per build type
# (no type at all included): what someone who builds the way CMake users do
# meets, with this build's compiler or toolchain file.
if(WIN32)
  set(plain_build_targets dalvenix_test_win32 dalvenix)
  set(plain_build_types none)
else()
  set(plain_build_targets dalvenix-test dalvenix)
  set(plain_build_types none Debug Release RelWithDebInfo)
endif()
foreach(type IN LISTS plain_build_types)
  if(type STREQUAL "none")
    set(build_type "")
  else()
    set(build_type ${type})
  endif()
  add_test(NAME build.plain_${type}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DBINARY_DIR=${PROJECT_BINARY_DIR}/plain-builds/${type} -DBUILD_TYPE=${build_type}
            "-DTOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}" "-DTARGETS=${plain_build_targets}"
            -P ${PROJECT_SOURCE_DIR}/cmake/check_plain_build.cmake)
  set_tests_properties(build.plain_${type} PROPERTIES TIMEOUT 900)
endforeach()

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
