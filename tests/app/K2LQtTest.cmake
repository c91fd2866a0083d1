# k2l_add_qtest(name SOURCES ... LIBS ...): one Qt Test executable, run by
# CTest as one test, on Qt's offscreen platform so that no display is
# needed. XDG_STATE_HOME inside the build tree keeps any conversion out of
# the real user's conversion log.
function(k2l_add_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} k2l_test_support Qt6::Test)
  target_include_directories(${name} PRIVATE ${K2L_SOURCE_ROOT} ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    K2L_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    K2L_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
    K2L_BIN_DIR="${PROJECT_BINARY_DIR}/bin")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${PROJECT_BINARY_DIR}/test-state;XDG_CACHE_HOME=${PROJECT_BINARY_DIR}/test-cache"
    LABELS gui
    TIMEOUT 120)
endfunction()
