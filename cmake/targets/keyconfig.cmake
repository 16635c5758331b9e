# The settings program the option screen starts (src/keyconfig). On Windows it is KeyConfig1.exe, the
# name the game asks for, in data\ of the package, where the game starts it from its working
# directory. Elsewhere it is a program like the game, rushmora-settings, built beside the game and
# installed beside it with a menu entry of its own; ShellExecuteA looks for KeyConfig1.exe under that
# name too, beside the running program.
#
# Its pages as state (model.cpp: what each input does, the settings saved) are a library of their own,
# which the tests link; the program adds the drawing, the tone and main.
add_library(rushmora_keyconfig_model STATIC ${CMAKE_SOURCE_DIR}/src/keyconfig/model.cpp)
# It looks inside the platform (the player's settings), as the tests do, and names keys with SDL.
target_include_directories(rushmora_keyconfig_model PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(rushmora_keyconfig_model PUBLIC rushmora_platform rushmora_actions PkgConfig::SDL2)

add_executable(keyconfig ${CMAKE_SOURCE_DIR}/src/keyconfig/main.cpp ${CMAKE_SOURCE_DIR}/src/keyconfig/pages.cpp
  ${RUSHMORA_WINDOWS_RESOURCES})
# It draws with SDL itself and takes the platform's Japanese text.
target_link_libraries(keyconfig PRIVATE rushmora_keyconfig_model rushmora_platform rushmora_actions
  PkgConfig::SDL2 PkgConfig::SDL2_TTF)
# Installed as a target, so that a package's strip takes it as it takes the game.
if(WIN32)
  set_target_properties(keyconfig PROPERTIES OUTPUT_NAME "KeyConfig1.exe" SUFFIX "")
  target_link_options(keyconfig PRIVATE -mwindows)
  install(TARGETS keyconfig RUNTIME DESTINATION ${CMAKE_INSTALL_DATADIR}/rushmora)
else()
  set_target_properties(keyconfig PROPERTIES OUTPUT_NAME rushmora-settings)
  install(TARGETS keyconfig RUNTIME DESTINATION ${RUSHMORA_INSTALL_PROGRAM_DIR})
  install(FILES ${RUSHMORA_PACKAGING_DIR}/rushmora-settings.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
add_dependencies(rushmora keyconfig)
