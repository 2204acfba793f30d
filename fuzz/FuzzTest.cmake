# Included by tests/CMakeLists.txt: the art reader's fuzzer as one CTest test
# that builds it natively and runs it for 30 s (fuzz/run.sh). It is added only
# where a host clang++ can link a libFuzzer program with the sanitizers
# (Debian: clang, libclang-rt-14-dev, which ./dev setup installs).
if(NOT DEFINED TUFT_FUZZ_AVAILABLE)
  set(TUFT_FUZZ_AVAILABLE OFF)
  find_program(TUFT_HOST_CLANGXX clang++ NO_CMAKE_FIND_ROOT_PATH)
  if(TUFT_HOST_CLANGXX)
    set(probe ${CMAKE_BINARY_DIR}/fuzzprobe)
    file(WRITE ${probe}/probe.cpp
      "#include <stddef.h>\n#include <stdint.h>\n"
      "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t *, size_t) { return 0; }\n")
    execute_process(
      COMMAND ${TUFT_HOST_CLANGXX} -fsanitize=fuzzer,address,undefined probe.cpp -o probe
      WORKING_DIRECTORY ${probe} RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
    if(probe_result EQUAL 0)
      set(TUFT_FUZZ_AVAILABLE ON)
    endif()
  endif()
  set(TUFT_FUZZ_AVAILABLE ${TUFT_FUZZ_AVAILABLE} CACHE BOOL "A host clang++ with libFuzzer is there")
endif()

if(TUFT_FUZZ_AVAILABLE)
  add_test(NAME art_reader_fuzz COMMAND sh ${CMAKE_SOURCE_DIR}/fuzz/run.sh ${CMAKE_BINARY_DIR}/fuzz 30)
  set_tests_properties(art_reader_fuzz PROPERTIES TIMEOUT 300 LABELS fuzz)
else()
  message(STATUS "No host clang++ with libFuzzer: the art reader's fuzz test is left out")
endif()
