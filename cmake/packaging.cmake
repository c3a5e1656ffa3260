# Installing and packaging the program with the stand-in device library.
#
# Windows: dalvenix-test.exe and dalvenix.dll side by side at the top of the
# archive, with a text on replacing the stand-in by the vendor's library.
# Linux: both in <prefix>/lib/dalvenix-test, where the program finds the
# library beside itself; <prefix>/bin/dalvenix-test starts it from there.
#
# Shipped binaries are stripped (component Runtime); their debug information
# goes to .debug/<file>.debug beside them (component Debug), which gdb finds
# through the debug link the stripped file carries.

if(WIN32)
  set(program_target dalvenix_test_win32)
  set(ship_destination .)
else()
  set(program_target dalvenix-test)
  set(ship_destination lib/dalvenix-test)
endif()
if(NOT TARGET ${program_target})
  return()
endif()

# Installs a target's file stripped, and its debug information, split off
# after every build of it, into the Debug component.
function(dalvenix_ship target file_name strip_option)
  set(debug_file ${PROJECT_BINARY_DIR}/debug/${file_name}.debug)
  add_custom_command(OUTPUT ${debug_file}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/debug
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${debug_file}
    DEPENDS ${target}
    COMMENT "Keeping the debug information of ${file_name} in ${file_name}.debug"
    VERBATIM)
  add_custom_target(${target}_debug_information ALL DEPENDS ${debug_file})
  install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION ${ship_destination} COMPONENT Runtime)
  install(CODE "
    set(installed \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ship_destination}/${file_name}\")
    execute_process(COMMAND \"${CMAKE_STRIP}\" ${strip_option} \"\${installed}\"
                    COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" \"--add-gnu-debuglink=${debug_file}\"
                            \"\${installed}\"
                    COMMAND_ERROR_IS_FATAL ANY)"
    COMPONENT Runtime)
  install(FILES ${debug_file} DESTINATION ${ship_destination}/.debug COMPONENT Debug)
endfunction()

if(WIN32)
  dalvenix_ship(dalvenix_test_win32 dalvenix-test.exe --strip-all)
  dalvenix_ship(dalvenix dalvenix.dll --strip-unneeded)
else()
  dalvenix_ship(dalvenix-test dalvenix-test --strip-all)
  dalvenix_ship(dalvenix libdalvenix.so --strip-unneeded)
endif()

if(WIN32)
  configure_file(packaging/windows-readme.txt.in ${PROJECT_BINARY_DIR}/packaging/README.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/README.txt DESTINATION . COMPONENT Runtime)
else()
  install(PROGRAMS packaging/dalvenix-test.sh DESTINATION bin RENAME dalvenix-test
          COMPONENT Runtime)
  configure_file(packaging/dalvenix-test.desktop.in
                 ${PROJECT_BINARY_DIR}/packaging/dalvenix-test.desktop @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/dalvenix-test.desktop
          DESTINATION share/applications COMPONENT Runtime)
  install(FILES README.md DESTINATION share/doc/dalvenix-test COMPONENT Runtime)
endif()

# Packages: cpack --preset <linux|windows-i686>. Each component is an archive
# of its own: the program, and its debug information with -dbg in the name.
set(CPACK_PACKAGE_NAME dalvenix-test)
set(CPACK_PACKAGE_VERSION ${DALVENIX_VERSION_TEXT})
set(CPACK_PACKAGE_VENDOR "${DALVENIX_PRODUCT_NAME}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "${DALVENIX_PRODUCT_NAME} TEST: test panel for ${DALVENIX_PRODUCT_NAME} USB digital I/O boards")
set(CPACK_PACKAGE_CONTACT "${DALVENIX_PRODUCT_NAME} TEST maintainers <dalvenix-test@localhost>")
set(CPACK_COMPONENTS_ALL Runtime Debug)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(package_system win32)
  else()
    set(package_system win64)
  endif()
  set(CPACK_GENERATOR ZIP)
else()
  set(package_system linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_GENERATOR TGZ DEB)
endif()
set(package_file dalvenix-test-${DALVENIX_VERSION_TEXT}-${package_system})
set(CPACK_ARCHIVE_RUNTIME_FILE_NAME ${package_file})
set(CPACK_ARCHIVE_DEBUG_FILE_NAME ${package_file}-dbg)

# The Debian packages: dalvenix-test and dalvenix-test-dbg.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME dalvenix-test)
set(CPACK_DEBIAN_DEBUG_PACKAGE_NAME dalvenix-test-dbg)
set(CPACK_DEBIAN_DEBUG_PACKAGE_DEPENDS "dalvenix-test (= ${DALVENIX_VERSION_TEXT})")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/cpack_options.cmake)

include(CPack)
