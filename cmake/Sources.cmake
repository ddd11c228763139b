# Source sets by file name: foo.cpp is portable core, foo_win32.cpp calls Win32.
# Each layer keeps its families in subfolders (src/runtime/pictures, ...).
file(GLOB_RECURSE CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER CORE_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
if(WIN32)  # foo_posix.cpp stands in for foo_win32.cpp in the native and fuzz trees
  list(FILTER CORE_SOURCES EXCLUDE REGEX "_posix\\.cpp$")
endif()
file(GLOB_RECURSE SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*_win32.cpp)
list(FILTER SHELL_SOURCES EXCLUDE REGEX "/src/app/start/main_win32\\.cpp$")

file(GLOB_RECURSE CORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
list(FILTER CORE_TEST_SOURCES EXCLUDE REGEX "/tests/(e2e|support|fuzz)/")
file(GLOB_RECURSE WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_wintest.cpp)
file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.cpp)
file(GLOB HARNESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
file(GLOB WIN_PROBE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/probes/*.cpp)
file(GLOB NATIVE_PROBE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/native/*.cpp)
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
