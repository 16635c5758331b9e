# The Windows build: everything static, from the libraries tools/windows/build-deps cross-builds into
# RUSHMORA_WINDOWS_PREFIX (see cmake/toolchains/mingw-w64-x86_64.cmake). The targets get the names the
# Linux build's pkg-config targets have, so the rest of the build reads the same on both.
enable_language(RC)

# One imported target from a package's static pkg-config flags. SDL's own main (its renaming of ours
# included) and its -mwindows are left out: each program has a main of its own and chooses its
# subsystem.
function(rushmora_static_package target module)
  pkg_check_modules(_pc REQUIRED ${module})
  set(libs)
  foreach(flag IN LISTS _pc_STATIC_LDFLAGS)
    if(flag STREQUAL "-lSDL2main" OR flag STREQUAL "-mwindows" OR flag STREQUAL "-lmingw32")
      continue()
    endif()
    list(APPEND libs "${flag}")
  endforeach()
  set(cflags ${_pc_STATIC_CFLAGS_OTHER})
  list(REMOVE_ITEM cflags "-Dmain=SDL_main")
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${_pc_STATIC_INCLUDE_DIRS}"
    INTERFACE_COMPILE_OPTIONS "${cflags}"
    INTERFACE_LINK_LIBRARIES "${libs}")
endfunction()

rushmora_static_package(PkgConfig::SDL2 sdl2)
rushmora_static_package(PkgConfig::SDL2_IMAGE SDL2_image)
rushmora_static_package(PkgConfig::SDL2_TTF SDL2_ttf)
rushmora_static_package(PkgConfig::SDL2_MIXER SDL2_mixer)
rushmora_static_package(PkgConfig::LIBDEFLATE libdeflate)

# No C++ runtime DLLs beside the program: the compiler's libraries go in statically too.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(SDL_MAIN_HANDLED)
# The programs a player gets carry no path of the machine that built them (source file names in
# messages are kept relative to the source tree).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)

# What Windows brings of its own (src/platform/ports/windows/): the GDI desktop photograph, the fonts
# folder, CreateProcess, the profiles' files; with the web it shares Timidity music for runs on the
# game's clock and the linker's audio-device takeover of a static SDL (ports/shared/).
file(GLOB RUSHMORA_PORT_SOURCES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/src/platform/ports
  ${CMAKE_SOURCE_DIR}/src/platform/ports/windows/*.cpp)
list(REMOVE_ITEM RUSHMORA_PORT_SOURCES windows/console_windows.cpp)
list(APPEND RUSHMORA_PORT_SOURCES shared/music_timidity.cpp shared/audio_device_wrapped.cpp
  shared/data_arrival_none.cpp)
# The programs' own: joining the console of the prompt they were started from.
set(RUSHMORA_PROGRAM_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/ports/windows/console_windows.cpp)
set(RUSHMORA_PLATFORM_SYSTEM_LIBS gdi32 user32)
# SDL_mixer is linked into the program: the linker hands its audio-device open to the mixer's pull.
set(RUSHMORA_PLATFORM_SYSTEM_DEFINITIONS)
set(RUSHMORA_PLATFORM_SYSTEM_LINK_OPTIONS -Wl,--wrap=SDL_OpenAudioDevice)
# Every program carries the manifest (UTF-8 file names, DPI awareness).
set(RUSHMORA_WINDOWS_RESOURCES ${CMAKE_SOURCE_DIR}/src/platform/ports/windows/rushmora.rc)
set_source_files_properties(${RUSHMORA_WINDOWS_RESOURCES} PROPERTIES COMPILE_DEFINITIONS
  "RUSHMORA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};RUSHMORA_VERSION_MINOR=${PROJECT_VERSION_MINOR};RUSHMORA_VERSION_PATCH=${PROJECT_VERSION_PATCH}")

# What the programs look for beside themselves, put beside the build's programs too (the test suite
# runs from there): the game's data (a Windows build looks nowhere else; kept up to date at every
# build), Timidity's instruments for the music of headless runs, and the Japanese font.
add_custom_target(rushmora-data-beside ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${CMAKE_BINARY_DIR}/data
  COMMENT "The game's data beside the build's programs")
if(EXISTS "${RUSHMORA_WINDOWS_PREFIX}/share/timidity")
  file(COPY "${RUSHMORA_WINDOWS_PREFIX}/share/timidity" DESTINATION "${CMAKE_BINARY_DIR}")
endif()
foreach(font ipagp.ttf ipag.ttf)
  if(EXISTS "/usr/share/fonts/opentype/ipafont-gothic/${font}")
    file(COPY "/usr/share/fonts/opentype/ipafont-gothic/${font}" DESTINATION "${CMAKE_BINARY_DIR}/fonts")
  endif()
endforeach()
