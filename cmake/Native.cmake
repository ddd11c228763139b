# Native tree: the portable core under the sanitizers, its unit tests, the
# native probes and the generators.
if(DOVE_SANITIZE)
  set(SAN -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${SAN})
  add_link_options(${SAN})
endif()

include(cmake/GTest.cmake)

add_library(dove_core STATIC ${CORE_SOURCES})
add_dependencies(dove_core generated_sources)
find_package(Threads REQUIRED)
target_link_libraries(dove_core PUBLIC Threads::Threads)

foreach(src ${NATIVE_PROBE_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} dove_core)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endforeach()

if(CORE_TEST_SOURCES)
  add_executable(core_tests ${CORE_TEST_SOURCES})
  target_include_directories(core_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(core_tests PRIVATE
    DOVE_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DOVE_NATIVE_TESTS_DIR="${CMAKE_BINARY_DIR}/tests")
  target_link_libraries(core_tests dove_core GTest::gmock GTest::gtest_main)
  set_target_properties(core_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  enable_testing()
  # Rows of parameterized tests are named by their test (tests/support/row_name.h),
  # never by the raw bytes of their parameter.
  gtest_discover_tests(core_tests TEST_PREFIX "core." DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
    PROPERTIES TIMEOUT 120 ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()

# The layers of src/ only look down; a test keeps it so.
enable_testing()
add_test(NAME layering COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-layers)
