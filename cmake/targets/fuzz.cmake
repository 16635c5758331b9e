# The fuzz targets (libFuzzer), one for each line of fuzz/targets: NAME_fuzz from its sources, with
# the pkg-config modules it names. Built by a clang build of the project; with another compiler,
# `cmake --build <dir> --target NAME_fuzz` builds one with clang++ if that is there. tools/fuzz
# builds and runs them without CMake.
set(RUSHMORA_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
  -fno-omit-frame-pointer -g -O1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/targets)
file(STRINGS ${CMAKE_SOURCE_DIR}/fuzz/targets RUSHMORA_FUZZ_LINES REGEX "^[a-z]")
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  find_program(RUSHMORA_CLANGXX NAMES clang++ clang++-14)
  # The headers the targets may include: a change rebuilds them.
  file(GLOB_RECURSE RUSHMORA_FUZZ_HEADERS ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/fuzz/*.h)
endif()

foreach(line IN LISTS RUSHMORA_FUZZ_LINES)
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(GET fields 0 name)
  list(GET fields 3 packages)
  list(SUBLIST fields 4 -1 sources)
  list(TRANSFORM sources PREPEND ${CMAKE_SOURCE_DIR}/)
  set(cflags "")
  set(ldflags "")
  if(NOT packages STREQUAL "-")
    string(REPLACE "," ";" modules "${packages}")
    pkg_check_modules(RUSHMORA_FUZZ_${name} REQUIRED ${modules})
    set(cflags ${RUSHMORA_FUZZ_${name}_CFLAGS})
    set(ldflags ${RUSHMORA_FUZZ_${name}_LDFLAGS})
  endif()

  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(${name}_fuzz EXCLUDE_FROM_ALL ${sources})
    target_include_directories(${name}_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/src/platform/include)
    target_compile_options(${name}_fuzz PRIVATE ${RUSHMORA_FUZZ_FLAGS} ${cflags})
    target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name}_fuzz PRIVATE ${ldflags})
  elseif(RUSHMORA_CLANGXX)
    add_custom_command(
      OUTPUT ${CMAKE_BINARY_DIR}/fuzz/${name}_fuzz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/fuzz
      COMMAND ${RUSHMORA_CLANGXX} -std=c++20 ${RUSHMORA_FUZZ_FLAGS} -I${CMAKE_SOURCE_DIR}/src -I${CMAKE_SOURCE_DIR}/src/platform/include ${cflags}
              ${sources} ${ldflags} -o ${CMAKE_BINARY_DIR}/fuzz/${name}_fuzz
      DEPENDS ${sources} ${RUSHMORA_FUZZ_HEADERS}
      COMMENT "Building the ${name} fuzz target with clang++"
      VERBATIM)
    # The program goes in a folder of its own: Ninja cannot have a file and a target of one name.
    add_custom_target(${name}_fuzz DEPENDS ${CMAKE_BINARY_DIR}/fuzz/${name}_fuzz)
  endif()
endforeach()
