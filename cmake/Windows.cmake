# Windows trees: both register the Wine tests; scripts/test runs the i686
# ones where the 32-bit Wine is installed.
enable_language(RC)
set(WIN_LIBS comctl32 user32 gdi32 kernel32 advapi32)
# Stripped: the debug sections made every start of the 13 MB exe about 20 ms
# slower under Wine, and nobody debugs the Windows builds from them.
add_link_options(-static -static-libgcc -static-libstdc++ -s)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 1252")

include(cmake/GTest.cmake)

add_library(dove_core STATIC ${CORE_SOURCES})
add_dependencies(dove_core generated_sources)
add_library(dove_shell STATIC ${SHELL_SOURCES})
target_link_libraries(dove_shell PUBLIC dove_core ${WIN_LIBS})
# The core names platform entry points (MESSAGE, for one) that the shell
# defines: a cycle of static libraries, which CMake repeats on the link line.
target_link_libraries(dove_core INTERFACE dove_shell)

# The resource script is compiled once and linked into the program and into
# every probe, so that probes see the same string table and stored windows.
set(RC_FILE ${CMAKE_SOURCE_DIR}/src/resources/DOVE60.rc)
add_library(dove_resources OBJECT ${RC_FILE})
target_include_directories(dove_resources PRIVATE ${GEN_DIR} ${CMAKE_SOURCE_DIR}/src/resources)
set_source_files_properties(${RC_FILE} PROPERTIES OBJECT_DEPENDS "${GENERATED_FILES}")
add_dependencies(dove_resources generated_sources)

add_executable(DOVE60 WIN32 ${CMAKE_SOURCE_DIR}/src/app/start/main_win32.cpp $<TARGET_OBJECTS:dove_resources>)
target_link_libraries(DOVE60 dove_shell)
set_target_properties(DOVE60 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The stand-in IDE: a program of its own that plays the IDE for tests and
# the demo; DOVE60.exe finds it only through WIN.INI.
file(GLOB STANDIN_IDE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/standin_ide/*.cpp)
add_executable(StandInIde WIN32 ${STANDIN_IDE_SOURCES})
target_link_libraries(StandInIde comctl32 user32 gdi32 kernel32)
set_target_properties(StandInIde PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
# scripts/run's way to end a run on a display nobody sees.
add_executable(RunCloser ${CMAKE_SOURCE_DIR}/tools/run_closer/run_closer.cpp)
target_link_libraries(RunCloser user32 kernel32)
set_target_properties(RunCloser PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# Paths that tests running inside Wine use to find what they start.
function(dove_wine_path unix var)
  string(REPLACE "/" "\\\\" p "${unix}")
  set(${var} "Z:${p}" PARENT_SCOPE)
endfunction()
get_filename_component(ROOT_BUILD ${DOVE_ROOT_BUILD_DIR} ABSOLUTE)
dove_wine_path(${CMAKE_BINARY_DIR}/DOVE60.exe WIN_EXE_PATH)
dove_wine_path(${CMAKE_BINARY_DIR}/tests WIN_TESTS_DIR)
# The 32-bit suite takes the same pictures; they must not replace the others.
set(SCREENSHOT_DIR ${ROOT_BUILD}/screenshots)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(SCREENSHOT_DIR ${ROOT_BUILD}/screenshots/win32)
endif()
dove_wine_path(${SCREENSHOT_DIR} WIN_SCREENSHOT_DIR)
dove_wine_path(${CMAKE_SOURCE_DIR} WIN_SOURCE_DIR)
dove_wine_path(${CMAKE_BINARY_DIR}/tools/StandInIde.exe WIN_STANDIN_IDE_PATH)
file(MAKE_DIRECTORY ${SCREENSHOT_DIR})
configure_file(${CMAKE_SOURCE_DIR}/cmake/test_paths.h.in ${GEN_DIR}/test_paths.h @ONLY)

foreach(src ${WIN_PROBE_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} $<TARGET_OBJECTS:dove_resources>)
  target_link_libraries(${name} dove_shell)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endforeach()

set(harness_libs)
if(HARNESS_SOURCES)
  add_library(gui_harness STATIC ${HARNESS_SOURCES})
  target_include_directories(gui_harness PUBLIC ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(gui_harness PUBLIC dove_shell GTest::gtest)
  set(harness_libs gui_harness)
endif()

# A test exe per kind; each depends on everything it may start.
function(dove_windows_tests target prefix)
  add_executable(${target} ${ARGN} $<TARGET_OBJECTS:dove_resources>)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${target} ${harness_libs} dove_shell GTest::gmock GTest::gtest_main)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${target} DOVE60 StandInIde)
  foreach(src ${WIN_PROBE_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_dependencies(${target} ${name})
  endforeach()
  if(DOVE_RUN_TESTS)
    gtest_discover_tests(${target} TEST_PREFIX "${prefix}." DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
      DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()

if(DOVE_RUN_TESTS)
  enable_testing()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
    @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
if(WIN_TEST_SOURCES)
  dove_windows_tests(win_tests win ${WIN_TEST_SOURCES})
endif()
if(E2E_TEST_SOURCES)
  dove_windows_tests(e2e_tests e2e ${E2E_TEST_SOURCES})
endif()

# The release archive (scripts/package) unpacked and run as a user gets it;
# its x64 program runs only in the 64-bit tree's prefix.
if(DOVE_RUN_TESTS AND CMAKE_SIZEOF_VOID_P EQUAL 8 AND harness_libs)
  add_executable(archive_check ${CMAKE_SOURCE_DIR}/tests/e2e/archive_check.cpp $<TARGET_OBJECTS:dove_resources>)
  target_include_directories(archive_check PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(archive_check ${harness_libs} dove_shell version GTest::gtest_main)
  set_target_properties(archive_check PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(archive_check StandInIde)
  add_test(NAME e2e.Archive.UnpacksAndRunsTheX64ProgramOnCmd
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/archive_test.sh ${ROOT_BUILD}/dist
      ${CMAKE_BINARY_DIR}/tests/unpacked ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:archive_check>)
  set_tests_properties(e2e.Archive.UnpacksAndRunsTheX64ProgramOnCmd PROPERTIES TIMEOUT 120)
endif()
