# The Linux package: `cpack --config <build>/CPackConfig.cmake` makes rushmora_<version>_<arch>.deb
# (tools/package does it from a Release build). Besides the program and its data folder (the
# install rules above) and the settings program with its own desktop entry
# (cmake/targets/keyconfig.cmake), it holds the game's desktop entry, its software-centre entry
# (AppStream metainfo), the icon and the copyright note.
#
# The game finds its data through <exe dir>/../share/rushmora, so an install under any prefix, and
# with DESTDIR, keeps working; the package puts everything under /usr.

set(RUSHMORA_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging/linux)

install(FILES ${RUSHMORA_PACKAGING_DIR}/rushmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Software centres (GNOME Software, KDE Discover) read the game's page from here, under the file
# name of its id (tests/packaging/check-metadata validates it).
install(FILES ${RUSHMORA_PACKAGING_DIR}/rushmora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME org.rushmora.Rushmora.metainfo.xml)
# The icon is drawn from the runner's portrait by art/icon/build, in these sizes.
foreach(size 32 48 64 128 256)
  install(FILES ${RUSHMORA_PACKAGING_DIR}/icons/${size}x${size}/rushmora.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The project's address, the one place it is written: the package's Maintainer and contact, and the
# copyright note's.
set(RUSHMORA_MAINTAINER "Rushmora developers <rushmora-dev@lists.rushmora.org>")
configure_file(${RUSHMORA_PACKAGING_DIR}/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rushmora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rushmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the Rushmora developers")
set(CPACK_PACKAGE_CONTACT ${RUSHMORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling action game: a schoolboy races the clock")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "A schoolboy races the clock: first to the station, where his train leaves on\n"
  "the minute, then from the station to school before the bell. On the way he\n"
  "walks, jumps, dashes and kicks his way through the morning crowd, and the\n"
  "passers-by he knocks away fly out of the game window and across the desktop.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${RUSHMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A Japanese font is needed: without one every message box (the quit question among them), the
# window captions and the key-configuration program show no text at all. IPA Gothic is the game's
# font; the others are what the font lookup takes when it is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic")
# The music needs a General MIDI sound font, but the game plays fully without it (the music is
# silent), so it is recommended (apt installs it by default) rather than required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont | fluid-soundfont-gm")

include(CPack)
