# clang-tidy and cppcheck over our own sources, as tests: any finding fails.
find_program(CLANG_TIDY NAMES clang-tidy-14 clang-tidy REQUIRED)
find_program(CPPCHECK NAMES cppcheck REQUIRED)

find_program(RUN_CLANG_TIDY NAMES run-clang-tidy-14 run-clang-tidy REQUIRED)

# Every translation unit of ours in this build's compilation database; the
# fuzz targets and the Windows sources are built elsewhere and left to cppcheck.
set(own_files "^${PROJECT_SOURCE_DIR}/(device|panel|standin|qt|tests|bench|[^/]+\\.cpp$)")
add_test(NAME static.clang_tidy
  COMMAND ${RUN_CLANG_TIDY} -clang-tidy-binary ${CLANG_TIDY} -p ${PROJECT_BINARY_DIR} -j 2 -quiet
          "${own_files}")
set_tests_properties(static.clang_tidy PROPERTIES TIMEOUT 1800)

add_test(NAME static.cppcheck
  COMMAND ${CPPCHECK} --quiet --error-exitcode=1 --inline-suppr --std=c++20 --language=c++
          --enable=warning,performance,portability --suppress=missingIncludeSystem
          -I ${PROJECT_SOURCE_DIR} -I ${PROJECT_SOURCE_DIR}/tests
          ${PROJECT_SOURCE_DIR}/device ${PROJECT_SOURCE_DIR}/panel ${PROJECT_SOURCE_DIR}/standin
          ${PROJECT_SOURCE_DIR}/qt ${PROJECT_SOURCE_DIR}/win32 ${PROJECT_SOURCE_DIR}/fuzz
          ${PROJECT_SOURCE_DIR}/bench ${PROJECT_SOURCE_DIR}/main_qt.cpp ${PROJECT_SOURCE_DIR}/main_win32.cpp)
set_tests_properties(static.cppcheck PROPERTIES TIMEOUT 900)

# Every C++ file of ours is laid out by clang-format.
find_program(CLANG_FORMAT NAMES clang-format-14 clang-format REQUIRED)
file(GLOB_RECURSE formatted_sources CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/*.cpp ${PROJECT_SOURCE_DIR}/*.h)
list(FILTER formatted_sources EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/build/")
add_test(NAME static.clang_format
  COMMAND ${CLANG_FORMAT} --dry-run -Werror ${formatted_sources})
