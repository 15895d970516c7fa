# Common settings for the project's own targets.
option(KORVAL_FUZZ "Build the libFuzzer targets (clang only)" OFF)
option(KORVAL_SANITIZE "Build native targets with address and undefined-behaviour sanitizers" OFF)

function(korval_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(KORVAL_WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  elseif(KORVAL_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A GUI program of the suite (ANSI Win32, no console).
function(korval_program target)
  korval_target(${target})
  if(KORVAL_WIN32)
    target_link_options(${target} PRIVATE -mwindows)
  endif()
endfunction()

# A unit test executable: one CTest entry each, run natively or under Wine.
function(korval_unit_test target)
  add_executable(${target} ${ARGN})
  korval_target(${target})
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES LABELS unit TIMEOUT 300)
  if(KORVAL_WIN32)
    # Under Wine the tests share one prefix and one display (the form library's make real windows).
    set_tests_properties(${target} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# Adds those of the named folders that exist and have a CMakeLists.txt.
macro(korval_add_subdirectories)
  foreach(_dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_dir}/CMakeLists.txt)
      add_subdirectory(${_dir})
    endif()
  endforeach()
endmacro()

# The folder where the build installs the suite as a user would have it: the programs, UserPath.dat-free
# program folder with the language files and Help. End-to-end tests and the demo copy from it.
set(KORVAL_PROGRAM_DIR ${CMAKE_BINARY_DIR}/program)

# A Windows path (Z: is Wine's drive for the Unix root) of a path in the build or source tree.
function(korval_wine_path out path)
  string(REPLACE "/" "\\" _p "${path}")
  set(${out} "Z:${_p}" PARENT_SCOPE)
endfunction()

# An end-to-end test: a GoogleTest program run under Wine that drives the real programs.
function(korval_e2e_test target)
  add_executable(${target} ${ARGN})
  korval_target(${target})
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main korval_e2e)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES LABELS e2e TIMEOUT 600 RUN_SERIAL TRUE)
endfunction()

# Puts a built program into the program folder, beside the language files and Help, as a user would have it.
function(korval_install_program target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVAL_PROGRAM_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${KORVAL_PROGRAM_DIR}/)
endfunction()

# Puts a built program into the program folder under other file names, one copy each (the sibling stand-ins,
# which take their part from their file name).
function(korval_install_program_as target)
  foreach(_name ${ARGN})
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVAL_PROGRAM_DIR}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${KORVAL_PROGRAM_DIR}/${_name})
  endforeach()
endfunction()

# One column of the language table (resources/lang-src/languages.tsv, read at configure time): `var` becomes the
# column's fields, one per language in index order ("-", none, kept as it stands).
function(korval_language_column var column)
  set(table ${PROJECT_SOURCE_DIR}/resources/lang-src/languages.tsv)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
  file(STRINGS ${table} rows REGEX "^[^#]")
  list(POP_FRONT rows names)
  string(REPLACE "\t" ";" names "${names}")
  list(FIND names ${column} at)
  if(at LESS 0)
    message(FATAL_ERROR "no column ${column} in ${table}")
  endif()
  set(values "")
  foreach(row IN LISTS rows)
    string(REPLACE "\t" ";" fields "${row}")
    list(GET fields ${at} field)
    list(APPEND values "${field}")
  endforeach()
  set(${var} "${values}" PARENT_SCOPE)
endfunction()

# The UTF-8 locale of the first language of the table whose files are in code page `code_page`: Wine run in it
# has that system code page.
function(korval_code_page_locale var code_page)
  korval_language_column(pages codepage)
  korval_language_column(locales locale)
  list(FIND pages ${code_page} at)
  if(at LESS 0)
    message(FATAL_ERROR "no language of code page ${code_page} in the language table")
  endif()
  list(GET locales ${at} locale)
  set(${var} ${locale}.UTF-8 PARENT_SCOPE)
endfunction()
