# Helpers that keep every folder's CMakeLists short: a folder is one library
# made of all its sources, and a test folder turns each tst_*.cpp into one
# QtTest executable registered with CTest.

# wavix_folder_library(<target> [LINKS <libs...>]): the folder's *.cpp and
# *.h (not its subfolders) as one static library; includes are written from
# the top of the tree ("analyzer/core/PulseTrain.h").
function(wavix_folder_library target)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(compiled ${sources})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(NOT compiled)
    message(STATUS "${target}: no sources yet")
    return()
  endif()
  add_library(${target} STATIC ${sources})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})
endfunction()

# wavix_add_qtest(<name> SOURCES <files...> LINKS <libs...>): one QtTest
# executable, registered with CTest to run offscreen and with the sanitizers'
# reports fatal.
function(wavix_add_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    TIMEOUT 300)
endfunction()

# wavix_folder_tests(LINKS <libs...>): every tst_*.cpp of the folder. Code
# the tests share is a library of its own (tests/support), linked, never
# compiled into each test.
function(wavix_folder_tests)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(test_source ${tests})
    get_filename_component(name ${test_source} NAME_WE)
    wavix_add_qtest(${name} SOURCES ${test_source} LINKS ${ARG_LINKS})
  endforeach()
endfunction()

# wavix_folder_benchmarks(LINKS <libs...>): each bench_*.cpp is one Google
# Benchmark executable.
function(wavix_folder_benchmarks)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench_*.cpp)
  foreach(bench_source ${benches})
    get_filename_component(name ${bench_source} NAME_WE)
    add_executable(${name} ${bench_source})
    set_target_properties(${name} PROPERTIES AUTOMOC ON RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} benchmark::benchmark)
  endforeach()
endfunction()
