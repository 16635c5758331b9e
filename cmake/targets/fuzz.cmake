# The WAV reader's fuzz target (libFuzzer). Built by a clang build of the project; with another
# compiler, `cmake --build <dir> --target wave_file_fuzz` builds it with clang++ if that is there.
# tools/fuzz-wav builds and runs it without CMake.
set(RUSHMORA_FUZZ_SOURCES
  ${CMAKE_SOURCE_DIR}/fuzz/wave_file_fuzz.cpp
  ${CMAKE_SOURCE_DIR}/src/sound/wave_file.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/mmio.cpp)
set(RUSHMORA_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
  -fno-omit-frame-pointer -g -O1)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_executable(wave_file_fuzz EXCLUDE_FROM_ALL ${RUSHMORA_FUZZ_SOURCES})
  target_include_directories(wave_file_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(wave_file_fuzz PRIVATE ${RUSHMORA_FUZZ_FLAGS})
  target_link_options(wave_file_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
else()
  find_program(RUSHMORA_CLANGXX NAMES clang++ clang++-14)
  if(RUSHMORA_CLANGXX)
    add_custom_command(
      OUTPUT ${CMAKE_BINARY_DIR}/fuzz/wave_file_fuzz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz
      COMMAND ${RUSHMORA_CLANGXX} -std=c++20 ${RUSHMORA_FUZZ_FLAGS} -I${CMAKE_SOURCE_DIR}/src
              ${RUSHMORA_FUZZ_SOURCES} -o ${CMAKE_BINARY_DIR}/fuzz/wave_file_fuzz
      DEPENDS ${RUSHMORA_FUZZ_SOURCES} ${CMAKE_SOURCE_DIR}/src/sound/wave_file.h
              ${CMAKE_SOURCE_DIR}/src/platform/mmaudio.h
      COMMENT "Building the WAV reader's fuzz target with clang++"
      VERBATIM)
    # The program goes in a folder of its own: Ninja cannot have a file and a target of one name.
    add_custom_target(wave_file_fuzz DEPENDS ${CMAKE_BINARY_DIR}/fuzz/wave_file_fuzz)
  endif()
endif()
