# rushmora-posesheet: the figure in every pose and frame, drawn into one PNG (see README).
add_executable(rushmora-posesheet ${CMAKE_SOURCE_DIR}/tools/posesheet/main.cpp)
target_link_libraries(rushmora-posesheet PRIVATE rushmora_game)
