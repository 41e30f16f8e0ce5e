# The console tools: each declared once with project_tool, all compared with their
# twins by project_tool_tests. Included by the top project and by the host project
# (toolsupport/host), which builds the same tools for this machine.

set(PROJECT_TOOL_SUPPORT_DIR ${CMAKE_CURRENT_LIST_DIR}/../toolsupport)

# project_tool(<name> SOURCES <files...> LIBS <targets...> PRODUCT <product> DESCRIPTION <text>)
# The executable <name> from SOURCES, linked with LIBS and the tools' support library;
# on Windows with its version resource (ProductName PRODUCT, FileDescription
# DESCRIPTION). Its twin for this machine is the same target in the host project.
function(project_tool name)
  cmake_parse_arguments(T "" "PRODUCT;DESCRIPTION" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} tool_support)
  if(WIN32)
    set(TOOL_NAME ${name})
    set(TOOL_PRODUCT ${T_PRODUCT})
    set(TOOL_DESCRIPTION ${T_DESCRIPTION})
    configure_file(${PROJECT_TOOL_SUPPORT_DIR}/ToolVersion.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc @ONLY)
    target_sources(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name}.rc)
  endif()
  set_property(GLOBAL APPEND PROPERTY PROJECT_TOOLS ${name})
endfunction()

# project_tool_tests(SAMPLE <script> [LIBRARY <language library target>])
# After every project_tool: one test a tool, toolsupport/tests/tool_matches_host.sh on
# a table of inputs. On Windows, tools.<name>.exe_matches_host compares the .exe under
# Wine with its twin, which the host project builds into host-tools/; natively,
# tools.<name>.host_reports checks the tool's own exit codes and JSON.
function(project_tool_tests)
  cmake_parse_arguments(T "" "SAMPLE;LIBRARY" "" ${ARGN})
  get_property(tools GLOBAL PROPERTY PROJECT_TOOLS)
  if(NOT PROJECT_RUN_TESTS)
    return()
  endif()
  set(script ${PROJECT_TOOL_SUPPORT_DIR}/tests/tool_matches_host.sh)
  set(work ${CMAKE_BINARY_DIR}/tool-tests)
  if(NOT WIN32)
    foreach(tool IN LISTS tools)
      add_test(NAME tools.${tool}.host_reports
        COMMAND ${script} - ${work}/${tool} ${T_SAMPLE} - ${tool} - $<TARGET_FILE:${tool}>)
    endforeach()
    return()
  endif()

  include(ExternalProject)
  find_program(HOST_CXX NAMES c++ g++ REQUIRED)
  set(twins ${CMAKE_BINARY_DIR}/host-tools)
  list(TRANSFORM tools PREPEND ${twins}/ OUTPUT_VARIABLE twin_files)
  ExternalProject_Add(host_tools
    SOURCE_DIR ${PROJECT_TOOL_SUPPORT_DIR}/host
    BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools-build
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${HOST_CXX} -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${twins} -DPROJECT_GENERATED_DIR=${PROJECT_GENERATED_DIR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> -j 1 --target ${tools}
    BUILD_BYPRODUCTS ${twin_files}
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE)
  foreach(tool IN LISTS tools)
    add_test(NAME tools.${tool}.exe_matches_host
      COMMAND ${script} ${WINE_RUN} ${work}/${tool} ${T_SAMPLE} $<TARGET_FILE:${T_LIBRARY}> ${tool}
              $<TARGET_FILE:${tool}> ${twins}/${tool})
    set_tests_properties(tools.${tool}.exe_matches_host PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
  endforeach()
endfunction()
