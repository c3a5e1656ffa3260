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
