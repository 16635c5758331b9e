# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads, so std::thread and
# std::mutex work). The libraries the game links against are built by tools/windows/build-deps
# into RUSHMORA_WINDOWS_PREFIX, which defaults to the same cache folder that script uses.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RUSHMORA_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(RUSHMORA_MINGW_GCC ${RUSHMORA_MINGW_TRIPLE}-gcc-posix)
find_program(RUSHMORA_MINGW_GXX ${RUSHMORA_MINGW_TRIPLE}-g++-posix)
if(NOT RUSHMORA_MINGW_GCC OR NOT RUSHMORA_MINGW_GXX)
  message(FATAL_ERROR "${RUSHMORA_MINGW_TRIPLE}-gcc-posix/-g++-posix not found: run tools/windows/setup")
endif()
set(CMAKE_C_COMPILER ${RUSHMORA_MINGW_GCC})
set(CMAKE_CXX_COMPILER ${RUSHMORA_MINGW_GXX})
set(CMAKE_RC_COMPILER ${RUSHMORA_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${RUSHMORA_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${RUSHMORA_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

# Where the cross-built libraries live (outside the sources).
if(NOT RUSHMORA_WINDOWS_PREFIX)
  if(DEFINED ENV{RUSHMORA_WINDOWS_PREFIX})
    set(RUSHMORA_WINDOWS_PREFIX "$ENV{RUSHMORA_WINDOWS_PREFIX}")
  elseif(DEFINED ENV{RUSHMORA_CACHE})
    set(RUSHMORA_WINDOWS_PREFIX "$ENV{RUSHMORA_CACHE}/windows-x86_64")
  elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(RUSHMORA_WINDOWS_PREFIX "$ENV{XDG_CACHE_HOME}/rushmora/windows-x86_64")
  else()
    set(RUSHMORA_WINDOWS_PREFIX "$ENV{HOME}/.cache/rushmora/windows-x86_64")
  endif()
endif()
set(RUSHMORA_WINDOWS_PREFIX "${RUSHMORA_WINDOWS_PREFIX}" CACHE PATH "Prefix of the cross-built Windows libraries")
# try_compile projects read this file again; hand them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RUSHMORA_WINDOWS_PREFIX)

# Headers, libraries and packages come only from the mingw sysroot and our prefix, never from the
# host's /usr; programs (pkg-config, python) come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${RUSHMORA_MINGW_TRIPLE} "${RUSHMORA_WINDOWS_PREFIX}")
list(APPEND CMAKE_PREFIX_PATH "${RUSHMORA_WINDOWS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static .a files only: a stray import library would make the program need a DLL.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# pkg-config sees only the prefix's .pc files.
set(ENV{PKG_CONFIG_LIBDIR} "${RUSHMORA_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_EXECUTABLE pkg-config CACHE FILEPATH "")
