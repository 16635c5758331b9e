# rushmora_exit_probe: the game run by a main that never calls platform::Stop (tests/exit/).
add_executable(rushmora_exit_probe ${CMAKE_SOURCE_DIR}/tests/exit/exit_probe.main.cpp)
target_link_libraries(rushmora_exit_probe PRIVATE rushmora_game)
