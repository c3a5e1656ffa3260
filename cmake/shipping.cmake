# How the shipped files are compiled and linked. The sanitizer and fuzz
# builds keep their own instrumentation and are left as they are.
if(DALVENIX_SANITIZE OR DALVENIX_FUZZ OR MSVC)
  return()
endif()

# Every function and datum in a section of its own, so that the linker drops
# what nothing refers to: most of the statically linked runtimes on Windows.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(LINKER:--gc-sections)

if(NOT WIN32)
  # Hardening: stack protection, checked string and memory functions where
  # optimised, symbols bound at start and relocations read-only after it.
  add_compile_options(-fstack-protector-strong)
  add_compile_definitions(
    $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,now LINKER:-z,relro)
endif()
