# The Linux build: SDL and its satellites, fontconfig, libdeflate and FluidSynth as the system's
# shared libraries, found through pkg-config; X11 when there is one, to photograph the desktop.
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_IMAGE REQUIRED IMPORTED_TARGET SDL2_image)
pkg_check_modules(SDL2_TTF REQUIRED IMPORTED_TARGET SDL2_ttf)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
find_package(X11)

# What Linux brings of its own (src/platform/ports/): the X11 desktop photograph (without X11 the
# painted desktop always stands in), fontconfig's font lookup, starting programs, FluidSynth's shared
# sound font, the audio-device takeover over the shared SDL, and POSIX files for the profiles.
file(GLOB RUSHMORA_PORT_SOURCES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/src/platform/ports
  ${CMAKE_SOURCE_DIR}/src/platform/ports/linux/*.cpp)
list(APPEND RUSHMORA_PORT_SOURCES shared/profile_files_posix.cpp shared/data_arrival_none.cpp)
if(NOT X11_FOUND)
  list(REMOVE_ITEM RUSHMORA_PORT_SOURCES linux/desktop_capture_x11.cpp)
  list(APPEND RUSHMORA_PORT_SOURCES shared/desktop_capture_none.cpp)
endif()
set(RUSHMORA_PLATFORM_SYSTEM_LIBS PkgConfig::FONTCONFIG PkgConfig::FLUIDSYNTH ${CMAKE_DL_LIBS})
if(X11_FOUND)
  list(APPEND RUSHMORA_PLATFORM_SYSTEM_LIBS ${X11_LIBRARIES})
endif()
set(RUSHMORA_PLATFORM_SYSTEM_DEFINITIONS)
set(RUSHMORA_PLATFORM_SYSTEM_LINK_OPTIONS)
set(RUSHMORA_WINDOWS_RESOURCES)
