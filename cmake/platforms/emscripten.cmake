# The browser build (emscripten): SDL2, SDL_image, SDL_mixer, SDL_ttf, freetype and libdeflate as
# static WebAssembly libraries from RUSHMORA_WEB_PREFIX (tools/web/build-deps builds them there).
# The targets get the names the Linux build's pkg-config targets have, so the rest of the build
# reads the same on every system. tools/web/build configures and builds this.
set(RUSHMORA_WEB_PREFIX "" CACHE PATH "Where tools/web/build-deps put the WebAssembly libraries")
if(NOT EXISTS "${RUSHMORA_WEB_PREFIX}/lib/libSDL2.a")
  message(FATAL_ERROR "No WebAssembly SDL2 in RUSHMORA_WEB_PREFIX (\"${RUSHMORA_WEB_PREFIX}\"): "
                      "run tools/web/build, which builds the libraries first")
endif()

# The libraries' folders are searched before the system's: emscripten's own SDL 1 headers are there.
set(CMAKE_NO_SYSTEM_FROM_IMPORTED ON)

function(rushmora_web_library target)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set(libs)
  foreach(name IN LISTS ARGN)
    list(APPEND libs "${RUSHMORA_WEB_PREFIX}/lib/lib${name}.a")
  endforeach()
  set_target_properties(${target} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${RUSHMORA_WEB_PREFIX}/include/SDL2;${RUSHMORA_WEB_PREFIX}/include"
    INTERFACE_LINK_LIBRARIES "${libs}")
endfunction()

rushmora_web_library(PkgConfig::SDL2 SDL2)
rushmora_web_library(PkgConfig::SDL2_IMAGE SDL2_image SDL2)
rushmora_web_library(PkgConfig::SDL2_TTF SDL2_ttf freetype SDL2)
rushmora_web_library(PkgConfig::SDL2_MIXER SDL2_mixer SDL2)
rushmora_web_library(PkgConfig::LIBDEFLATE deflate)

# What the browser brings of its own (src/platform/ports/web/): the font in the data package, no
# programs to start, SDL's program folder and sleep; with Windows it shares Timidity music and the
# linker's audio-device takeover, and with Linux the POSIX profile files (ports/shared/). A page
# cannot photograph the screen: the painted desktop stands in.
file(GLOB RUSHMORA_PORT_SOURCES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/src/platform/ports
  ${CMAKE_SOURCE_DIR}/src/platform/ports/web/*.cpp)
list(APPEND RUSHMORA_PORT_SOURCES shared/audio_device_wrapped.cpp shared/desktop_capture_none.cpp
  shared/music_timidity.cpp shared/profile_files_posix.cpp)
set(RUSHMORA_PLATFORM_SYSTEM_LIBS)
# SDL_mixer is linked into the program: the linker hands its audio-device open to the mixer's pull,
# and SDL's program folder and sleep to the web's own (sdl_web.cpp).
set(RUSHMORA_PLATFORM_SYSTEM_DEFINITIONS)
set(RUSHMORA_PLATFORM_SYSTEM_LINK_OPTIONS -Wl,--wrap=SDL_OpenAudioDevice -Wl,--wrap=SDL_GetBasePath
  -Wl,--wrap=SDL_Delay)
set(RUSHMORA_WINDOWS_RESOURCES)
