# KeyConfig1.exe: the key-configuration program the option screen starts. It is built beside the game
# in the build folder, where the game finds it when its data folder has none (ShellExecuteA looks
# beside the running program too); an install puts it in the data folder, and the Windows package
# in data\, where the game starts it from its working directory.
add_executable(keyconfig ${CMAKE_SOURCE_DIR}/src/keyconfig/model.cpp ${RUSHMORA_WINDOWS_RESOURCES})
# It draws with SDL itself and takes the platform's Japanese text.
target_link_libraries(keyconfig PRIVATE rushmora_platform rushmora_actions PkgConfig::SDL2 PkgConfig::SDL2_TTF)
# It looks inside the platform (its font lookup), as the tests do.
target_include_directories(keyconfig PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(keyconfig PROPERTIES OUTPUT_NAME "KeyConfig1.exe" SUFFIX "")
if(WIN32)
  target_link_options(keyconfig PRIVATE -mwindows)
endif()
# Installed as a target, so that a package's strip takes it as it takes the game.
install(TARGETS keyconfig RUNTIME DESTINATION ${CMAKE_INSTALL_DATADIR}/rushmora)
add_dependencies(rushmora keyconfig)
