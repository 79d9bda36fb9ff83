# mirabelo_test(<name> SOURCES <files...> LIBS <targets...> [GUI])
# One gtest executable, run by ctest (through Wine in the win32 build).
# GUI marks tests that open windows: they need the display tools/test provides.
function(mirabelo_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    MIRABELO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    MIRABELO_BUILD_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(T_GUI)
    if(WIN32)
      target_link_libraries(${name} PRIVATE test_support)
    endif()
    # One display, one mouse and one focus: windowed tests run one at a time.
    set_tests_properties(${name} PROPERTIES LABELS gui RESOURCE_LOCK display)
  endif()
endfunction()
