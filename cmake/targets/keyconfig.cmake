# KeyConfig1.exe: the key-configuration program the option screen starts. It lives in the game's data
# folder under that name (the game starts it from its working directory).
add_executable(keyconfig ${CMAKE_SOURCE_DIR}/tools/keyconfig/main.cpp ${RUSHMORA_WINDOWS_RESOURCES})
# It draws with SDL itself and takes the platform's Japanese text.
target_link_libraries(keyconfig PRIVATE rushmora_platform PkgConfig::SDL2 PkgConfig::SDL2_TTF)
# It looks inside the platform (its font lookup), as the tests do.
target_include_directories(keyconfig PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(keyconfig PROPERTIES OUTPUT_NAME "KeyConfig1.exe" SUFFIX "")
if(WIN32)
  target_link_options(keyconfig PRIVATE -mwindows)
else()
  # The source tree's data folder is the one a build plays from: the program goes there too. (The
  # Windows build keeps its own beside rushmora.exe.)
  add_custom_command(TARGET keyconfig POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:keyconfig> ${CMAKE_SOURCE_DIR}/data/KeyConfig1.exe)
endif()
# Installed as a target, so that a package's strip takes it as it takes the game.
install(TARGETS keyconfig RUNTIME DESTINATION ${CMAKE_INSTALL_DATADIR}/rushmora)
add_dependencies(rushmora keyconfig)
