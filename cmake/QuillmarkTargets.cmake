# quillmark_library(NAME SOURCES...): one folder's static library. Its
# headers are included by folder ("collection/Card.h"), from the top.
function(quillmark_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -Wall -Wextra)
endfunction()

# quillmark_test(NAME SOURCES... LINK libraries... [WIDGETS] [E2E]): one Qt
# Test executable under CTest, labelled core, widgets or e2e. Widget and
# end-to-end tests run on the offscreen platform, with a time limit, so that a
# dialog left open fails the test instead of holding the run.
function(quillmark_test name)
  cmake_parse_arguments(ARG "WIDGETS;E2E" "TIMEOUT" "LINK" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} Qt6::Test)
  target_compile_options(${name} PRIVATE -Wall -Wextra)
  add_test(NAME ${name} COMMAND ${name})
  set(label core)
  set(timeout 120)
  if(ARG_WIDGETS)
    set(label widgets)
    set(timeout 60)
  endif()
  if(ARG_E2E)
    set(label e2e)
    set(timeout 120)
  endif()
  if(ARG_TIMEOUT)
    set(timeout ${ARG_TIMEOUT})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT ${timeout}
                       ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config/${name}")
endfunction()
