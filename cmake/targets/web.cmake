# The browser build's two programs, from the same objects:
#   rushmora.js/.wasm/.data  the game as a web page (tools/web/index.html loads it); the game's data,
#                            its Timidity instruments and its Japanese font in a preloaded package.
#   rushmora-cli.js          the same game for node, reading and writing real files (NODERAWFS), for
#                            headless runs: its data, instruments and font lie beside it.
# The game's loop blocks and message boxes run loops of their own: ASYNCIFY lets them hand the
# browser its thread back at every sleep, unchanged.
set(RUSHMORA_WEB_FONT "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf" CACHE FILEPATH
  "The Japanese font the web page ships")
set(RUSHMORA_WEB_COMMON_LINK_OPTIONS
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sEXIT_RUNTIME=1
  # SDL's web audio calls these runtime helpers (emscripten's own SDL port adds them the same way);
  # read from a file, as their names start with a dollar sign that no shell should see.
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/tools/web/sdl-runtime-helpers.txt)

set_target_properties(rushmora PROPERTIES SUFFIX ".js")
target_link_options(rushmora PRIVATE ${RUSHMORA_WEB_COMMON_LINK_OPTIONS}
  -sENVIRONMENT=web -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536 -lGL
  -sEXPORTED_RUNTIME_METHODS=["callMain"]
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/data@/data"
  "SHELL:--exclude-file *KeyConfig1.exe"
  # The help book, which no menu leads to (a page's ?scene=Help shows it without its picture).
  "SHELL:--exclude-file *help.png"
  "SHELL:--preload-file ${RUSHMORA_WEB_PREFIX}/share/timidity@/timidity"
  "SHELL:--preload-file ${RUSHMORA_WEB_FONT}@/fonts/ipagp.ttf")
file(GLOB_RECURSE RUSHMORA_WEB_DATA CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
set_property(TARGET rushmora APPEND PROPERTY LINK_DEPENDS ${RUSHMORA_WEB_DATA} ${RUSHMORA_WEB_FONT})

add_executable(rushmora-cli src/main.cpp)
target_link_libraries(rushmora-cli PRIVATE rushmora_game)
target_compile_definitions(rushmora-cli PRIVATE RUSHMORA_VERSION="${PROJECT_VERSION}")
set_target_properties(rushmora-cli PROPERTIES SUFFIX ".js")
target_link_options(rushmora-cli PRIVATE ${RUSHMORA_WEB_COMMON_LINK_OPTIONS}
  -sENVIRONMENT=node -sNODERAWFS=1 -sNODEJS_CATCH_EXIT=0 -sNODEJS_CATCH_REJECTION=0
  --pre-js ${CMAKE_SOURCE_DIR}/tools/web/cli-pre.js)
set_property(TARGET rushmora-cli APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/cli-pre.js)
