# KeyConfig1.exe: the key-configuration program the option screen starts (src/keyconfig). It is built
# beside the game in the build folder, where the game finds it when its data folder has none
# (ShellExecuteA looks beside the running program too); an install puts it in the data folder, and
# the Windows package in data\, where the game starts it from its working directory.
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
set_target_properties(keyconfig PROPERTIES OUTPUT_NAME "KeyConfig1.exe" SUFFIX "")
if(WIN32)
  target_link_options(keyconfig PRIVATE -mwindows)
endif()
# Installed as a target, so that a package's strip takes it as it takes the game.
install(TARGETS keyconfig RUNTIME DESTINATION ${CMAKE_INSTALL_DATADIR}/rushmora)
add_dependencies(rushmora keyconfig)
