# Test registration for both configurations.
#
# Native: GoogleTest executables run directly (with AddressSanitizer and UBSan in the
# native preset).
# Windows: the executables run under Wine through tests/harness/wine-run.sh, which the
# build folder gets a configured copy of. Every ctest run starts from a fresh Wine
# prefix under the build folder (fixture "wine"), with the ANSI code page 936, no
# debug output, no host menu entries, a private Xvfb display and the test ODBC
# driver registry.

include(GoogleTest)
enable_testing()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
if(WIN32)
  # GoogleTest's customisation header, replaced for every target: its Notification then
  # needs no std::mutex, which the Windows runtime (win32 thread model) lacks.
  include_directories(BEFORE ${PROJECT_SOURCE_DIR}/tests/support/gtest-custom)
endif()
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The test ODBC driver registry: "SQL Server" is served by the SQLite3 ODBC driver.
# Under Wine the driver is named without a folder, so that one registry serves the
# 64-bit and the 32-bit programs: wine-run.sh puts both bitnesses' driver folders on
# the loader's path, and the loader skips the library of the other bitness.
set(TEST_ODBCSYSINI ${CMAKE_BINARY_DIR}/odbc)
if(WIN32)
  set(SQLITE_ODBC_DRIVER libsqlite3odbc.so)
else()
  set(SQLITE_ODBC_DRIVER /usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so)
endif()
configure_file(${PROJECT_SOURCE_DIR}/tests/odbc/odbcinst.ini.in ${TEST_ODBCSYSINI}/odbcinst.ini @ONLY)
file(TOUCH ${TEST_ODBCSYSINI}/odbc.ini)
# The drivers leak a little on every connection; with full stacks LeakSanitizer can
# tell those leaks from ours and the suppressions name them.
set(ODBC_TEST_ENV
    "ASAN_OPTIONS=fast_unwind_on_malloc=0"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/harness/lsan.supp")

if(WIN32)
  set(WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
  configure_file(${PROJECT_SOURCE_DIR}/tests/harness/wine-run.sh.in ${WINE_RUN} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_RUN})
  if(PROJECT_RUN_TESTS)
    add_test(NAME wine.start COMMAND ${WINE_RUN} --fresh-prefix)
    set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
    add_test(NAME wine.stop COMMAND ${WINE_RUN} --stop)
    set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
  endif()
endif()

# The ctest properties and the environment of a test, from the caller's parsed options
# T_PREFIX, T_ENV, T_TIMEOUT, T_LABELS, T_RESOURCE_LOCK and T_FIXTURES (project_test,
# project_script_test): a prefix of its own with PREFIX, the ODBC driver registry, the
# fixture "wine" under Wine. Sets <props_var> and <env_var> in the caller.
function(project_test_settings props_var env_var)
  if(T_PREFIX AND WIN32)
    list(APPEND T_ENV WINEPREFIX=${CMAKE_BINARY_DIR}/wine/prefix-${T_PREFIX})
    list(APPEND T_RESOURCE_LOCK prefix-${T_PREFIX})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(props TIMEOUT ${T_TIMEOUT})
  set(fixtures ${T_FIXTURES})
  if(WIN32)
    list(APPEND fixtures wine)
  endif()
  if(fixtures)
    list(APPEND props FIXTURES_REQUIRED "${fixtures}")
  endif()
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  if(T_RESOURCE_LOCK)
    list(APPEND props RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  set(${props_var} ${props} PARENT_SCOPE)
  set(${env_var} "ODBCSYSINI=${TEST_ODBCSYSINI}" ${T_ENV} PARENT_SCOPE)
endfunction()

# project_test(<name> [OWN_MAIN] SOURCES <files...> [LIBS <targets...>] [INCLUDES <folders...>]
#              [PREFIX <prefix name>] [ENV <VAR=value...>] [LABELS <labels...>]
#              [RESOURCE_LOCK <names...>] [FIXTURES <names...>] [TIMEOUT <seconds>])
# Builds a GoogleTest executable (with GoogleTest's main unless OWN_MAIN), linked with the
# shared test-support library (tests/support), and registers each of its tests with ctest.
# INCLUDES are include folders relative to the source tree's top (for example uninstall).
# PREFIX <program>-<what> gives the tests under Wine a prefix of their own,
# wine/prefix-<program>-<what> (made from the same template, wiped at every run), and a
# resource lock of that name, so no two tests change one prefix at once.
# ENV entries are passed to the test process. Tests
# that load an ODBC driver natively pass ${ODBC_TEST_ENV}. FIXTURES names ctest fixtures
# the tests need (for example "postgres", a database server on loopback).
function(project_test name)
  cmake_parse_arguments(T "OWN_MAIN" "TIMEOUT;PREFIX" "SOURCES;LIBS;INCLUDES;ENV;LABELS;RESOURCE_LOCK;FIXTURES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  foreach(folder IN LISTS T_INCLUDES)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/${folder})
  endforeach()
  target_link_libraries(${name} PRIVATE test_support)
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock_main)
  endif()
  if(NOT PROJECT_RUN_TESTS)
    return()
  endif()
  project_test_settings(props env)
  # The environment goes in front of the command through env(1): list-valued test
  # properties do not survive the generated discovery script of this CMake.
  if(WIN32)
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR /usr/bin/env ${env} ${WINE_RUN})
  else()
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR /usr/bin/env ${env})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ${props})
endfunction()

# project_script_test(<name> COMMAND <program> [<arguments...>] [PREFIX <prefix name>]
#                     [ENV <VAR=value...>] [LABELS ...] [RESOURCE_LOCK ...] [FIXTURES ...]
#                     [TIMEOUT <seconds>])
# Registers a test program of this machine (a shell script that runs Windows programs
# through ${WINE_RUN}, say) with the settings that project_test gives its tests: with
# PREFIX a Wine prefix and resource lock of its own, WINEPREFIX set to that prefix.
function(project_script_test name)
  cmake_parse_arguments(T "" "TIMEOUT;PREFIX" "COMMAND;ENV;LABELS;RESOURCE_LOCK;FIXTURES" ${ARGN})
  if(NOT PROJECT_RUN_TESTS)
    return()
  endif()
  project_test_settings(props env)
  add_test(NAME ${name} COMMAND /usr/bin/env ${env} ${T_COMMAND} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES ${props})
endfunction()
