# arvena_library(<name> DEPS <libs...>)
# One static library per source folder; every .cpp below the folder belongs to it,
# so adding a file needs no edit here.
function(arvena_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(NOT sources)
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# arvena_test(<name> LABEL <labels...> SOURCES <files...> [DEPS <libs...>])
# A GoogleTest executable registered with CTest under its area labels.
# Tests run with the offscreen Qt platform and a private HOME, so nothing
# touches the real home or system folders. Every source of a test sees the
# printers of tests/common/qtprint.h first, so that a failure shows Qt values
# as text whichever headers the test includes.
function(arvena_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LABEL;SOURCES;DEPS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE arvena_testmain ${ARG_DEPS})
  target_precompile_headers(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common/qtprint.h)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABEL}" TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ARVENA3_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output;ARVENA3_BIN=${CMAKE_BINARY_DIR}/bin;ARVENA3_SOURCE=${PROJECT_SOURCE_DIR};${ARG_ENV}")
endfunction()
