# Warnings are errors on our own code.
function(dalvenix_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  endif()
endfunction()

# Programs look for the device library in their own folder first.
function(dalvenix_search_own_folder target)
  if(NOT WIN32)
    set_target_properties(${target} PROPERTIES BUILD_RPATH "\$ORIGIN" INSTALL_RPATH "\$ORIGIN")
    target_link_options(${target} PRIVATE "LINKER:--enable-new-dtags")
  endif()
endfunction()
