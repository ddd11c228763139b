# Fuzz tree (clang): every tests/fuzz/<name>_fuzz.cpp becomes a libFuzzer
# target over the portable core, and a CTest case that runs it for a bounded
# time (DOVE_FUZZ_SECONDS) from the seeds in tests/fuzz/<name>_seeds, if any.
set(DOVE_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzz target runs")
set(SAN -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
add_compile_options(${SAN})
add_link_options(${SAN})

add_library(dove_core STATIC ${CORE_SOURCES})
add_dependencies(dove_core generated_sources)
target_compile_options(dove_core PRIVATE -fsanitize=fuzzer-no-link)
find_package(Threads REQUIRED)
target_link_libraries(dove_core PUBLIC Threads::Threads)

enable_testing()
foreach(src ${FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} dove_core)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/${name}_seeds)
  set(dirs ${corpus})
  if(EXISTS ${seeds})
    list(APPEND dirs ${seeds})
  endif()
  add_test(NAME fuzz.${name}
    COMMAND ${name} -max_total_time=${DOVE_FUZZ_SECONDS} -rss_limit_mb=2048
            -artifact_prefix=${CMAKE_BINARY_DIR}/ ${dirs})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endforeach()
