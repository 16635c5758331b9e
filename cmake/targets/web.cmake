# The browser build's two programs, from the same objects:
#   rushmora.js/.wasm        the game as a web page (tools/web/index.html loads it, and fetches the
#                            game's data, its Timidity instruments and its Japanese font in the parts
#                            tools/web/pack-data makes).
#   rushmora-cli.js          the same game for node, reading and writing real files (NODERAWFS), for
#                            headless runs: its data, instruments and font lie beside it.
# The game's loop blocks and message boxes run loops of their own: ASYNCIFY lets them hand the
# browser its thread back at every sleep, unchanged.
set(RUSHMORA_WEB_COMMON_LINK_OPTIONS
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sEXIT_RUNTIME=1
  # SDL's web audio calls these runtime helpers (emscripten's own SDL port adds them the same way);
  # read from a file, as their names start with a dollar sign that no shell should see.
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/tools/web/sdl-runtime-helpers.txt)

set_target_properties(rushmora PROPERTIES SUFFIX ".js")
target_link_options(rushmora PRIVATE ${RUSHMORA_WEB_COMMON_LINK_OPTIONS}
  -sENVIRONMENT=web -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536 -lGL
  -sEXPORTED_RUNTIME_METHODS=["callMain"] -sFORCE_FILESYSTEM=1
  # The page pauses the game behind its dialog and in a hidden tab, and keeps its touch keys off the
  # game's window (ports/web/page_web.cpp).
  -sEXPORTED_FUNCTIONS=["_main","_rushmora_pause","_rushmora_game_window"])

add_executable(rushmora-cli src/main.cpp)
target_link_libraries(rushmora-cli PRIVATE rushmora_game)
target_compile_definitions(rushmora-cli PRIVATE RUSHMORA_VERSION="${PROJECT_VERSION}")
set_target_properties(rushmora-cli PROPERTIES SUFFIX ".js")
target_link_options(rushmora-cli PRIVATE ${RUSHMORA_WEB_COMMON_LINK_OPTIONS}
  -sENVIRONMENT=node -sNODERAWFS=1 -sNODEJS_CATCH_EXIT=0 -sNODEJS_CATCH_REJECTION=0
  --pre-js ${CMAKE_SOURCE_DIR}/tools/web/cli-pre.js)
set_property(TARGET rushmora-cli APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/cli-pre.js)
