# The warnings our own code is held to. The presets make them errors
# (CMAKE_COMPILE_WARNING_AS_ERROR); a plain build only reports them.
function(dalvenix_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  endif()
endfunction()

# Programs look for the device library in their own folder first.
function(dalvenix_search_own_folder target)
  if(NOT WIN32)
    set_target_properties(${target} PROPERTIES BUILD_RPATH "\$ORIGIN" INSTALL_RPATH "\$ORIGIN")
    target_link_options(${target} PRIVATE "LINKER:--enable-new-dtags")
  endif()
endfunction()
