# The parser fuzzers (fuzz/), built with clang as a project of their own and
# run for a bounded time each as tests. Left out when no clang with
# libFuzzer is at hand, and in sanitizer builds (the fuzzers carry their own).
option(BRINDLE_FUZZ "Build the parser fuzzers and run them as tests" ON)
set(BRINDLE_FUZZ_SECONDS 20 CACHE STRING "How long each fuzzer runs as a test")

if(NOT BRINDLE_FUZZ OR BRINDLE_SANITIZE)
  return()
endif()

find_program(BRINDLE_CLANGXX NAMES clang++ clang++-14)
if(NOT BRINDLE_CLANGXX)
  message(STATUS "No clang++: the parser fuzzers are left out")
  return()
endif()

if(NOT DEFINED BRINDLE_LIBFUZZER_WORKS)
  set(probe ${CMAKE_BINARY_DIR}/fuzz_probe.cpp)
  file(WRITE ${probe} "#include <cstddef>\n#include <cstdint>\n"
    "extern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
  execute_process(COMMAND ${BRINDLE_CLANGXX} -fsanitize=fuzzer,address ${probe}
                  -o ${CMAKE_BINARY_DIR}/fuzz_probe
                  RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
  if(probe_result EQUAL 0)
    set(BRINDLE_LIBFUZZER_WORKS ON CACHE INTERNAL "clang links libFuzzer programs")
  else()
    set(BRINDLE_LIBFUZZER_WORKS OFF CACHE INTERNAL "clang links libFuzzer programs")
  endif()
endif()
if(NOT BRINDLE_LIBFUZZER_WORKS)
  message(STATUS "${BRINDLE_CLANGXX} cannot link libFuzzer programs: the parser fuzzers are left out")
  return()
endif()

include(ExternalProject)
set(fuzz_dir ${CMAKE_BINARY_DIR}/fuzz)
ExternalProject_Add(brindle_fuzzers
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/fuzz
  BINARY_DIR ${fuzz_dir}
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${BRINDLE_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
             -DBRINDLE_SYSTEM_LIB=$<TARGET_FILE:brindle_system>
             -DBRINDLE_PLATFORM_LIB=$<TARGET_FILE:brindle_platform>
  DEPENDS brindle_system brindle_platform
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${fuzz_dir} -j 2
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")

foreach(name fh_quote fh52 av_daily)
  # New inputs go to the build tree; the seeds in the source tree are only read.
  file(MAKE_DIRECTORY ${fuzz_dir}/corpus_${name})
  add_test(NAME fuzz_${name}
    COMMAND ${fuzz_dir}/fuzz_${name} -max_total_time=${BRINDLE_FUZZ_SECONDS} -max_len=65536
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
            ${fuzz_dir}/corpus_${name} ${CMAKE_SOURCE_DIR}/fuzz/seeds/${name})
  set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endforeach()
