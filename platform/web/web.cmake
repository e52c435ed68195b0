# The web edition: the program compiled to WebAssembly by emscripten
# (configure with emcmake and FINGULP_HOST_TOOLS_DIR pointing at a native
# build), served as one folder of static files: site/ for players and
# site-test/, the same page whose program carries the tests' clock and state
# hooks, for tests/web.
fingulp_sources(WEB_SOURCES platform/web)
add_library(fingulp_web OBJECT ${WEB_SOURCES})
target_link_libraries(fingulp_web PUBLIC fingulp_platform)
target_compile_options(fingulp_web PRIVATE ${FINGULP_WARNINGS})

# Sleeps, input waits and blocking sounds suspend the program through the one
# import fingulp_suspend (ASYNCIFY); the page's JavaScript is a library.
# ASYNCIFY instruments every function that may be on the stack when it
# suspends, and assumes any indirect call may lead there. The program's one
# indirect call that can (the window procedure) sits in functions that wait
# anyway; the C library's (the allocator's new-handler, printf's writer, the
# exception runtime's type checks) never do: kept off the list, they no longer
# drag the game frame, the drawing and every allocating caller into it.
file(WRITE ${CMAKE_BINARY_DIR}/asyncify_remove.json
  "[\"operator new*\", \"snprintf\", \"printf_core\", \"out\", \"pop_arg\", \"__cxxabiv1::*\"]\n")
set(FINGULP_WEB_LIBRARY ${CMAKE_SOURCE_DIR}/platform/web/web_library.js)
set(FINGULP_WEB_PAGE_LIBRARIES ${CMAKE_SOURCE_DIR}/platform/web/web_files.js ${CMAKE_SOURCE_DIR}/platform/web/web_watch.js
                                ${CMAKE_SOURCE_DIR}/platform/web/web_controls.js ${CMAKE_SOURCE_DIR}/platform/web/web_backup.js)
set(FINGULP_WEB_LINK_OPTIONS
  "SHELL:-sASYNCIFY" "SHELL:-sASYNCIFY_IMPORTS=fingulp_suspend" "SHELL:-sASYNCIFY_STACK_SIZE=32768"
  "SHELL:-sASYNCIFY_REMOVE=@${CMAKE_BINARY_DIR}/asyncify_remove.json"
  "SHELL:-sALLOW_MEMORY_GROWTH=1" "SHELL:-sENVIRONMENT=web"
  "SHELL:--js-library ${FINGULP_WEB_LIBRARY}" "SHELL:--js-library ${CMAKE_SOURCE_DIR}/platform/web/web_files.js"
  "SHELL:--js-library ${CMAKE_SOURCE_DIR}/platform/web/web_watch.js"
  "SHELL:--js-library ${CMAKE_SOURCE_DIR}/platform/web/web_controls.js"
  "SHELL:--js-library ${CMAKE_SOURCE_DIR}/platform/web/web_backup.js")

# The home-screen icons, drawn from the icon resource by the host tool, and
# the maskable one (the fish inside the safe zone on an opaque square).
set(FINGULP_WEB_ICONS ${CMAKE_BINARY_DIR}/web-icons/192x192/apps/fingulp.png
                      ${CMAKE_BINARY_DIR}/web-icons/512x512/apps/fingulp.png
                      ${CMAKE_BINARY_DIR}/web-icons/maskable/512x512/apps/fingulp.png)
add_custom_command(OUTPUT ${FINGULP_WEB_ICONS}
  COMMAND fingulp-icon-png ${CMAKE_BINARY_DIR}/web-icons 192 512
  COMMAND fingulp-icon-png --maskable ${CMAKE_BINARY_DIR}/web-icons/maskable 512
  DEPENDS fingulp-icon-png
  COMMENT "Drawing the web page's icons")

file(GLOB FINGULP_PAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/page/*)

# One site: the program as NAME/fingulp.js and .wasm, the page's files, the
# icons, and the service worker stamped with the build's contents.
function(fingulp_web_site target site)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME fingulp
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${site})
  target_link_options(${target} PRIVATE ${FINGULP_WEB_LINK_OPTIONS})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${FINGULP_WEB_LIBRARY} ${FINGULP_WEB_PAGE_LIBRARIES})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${site}/sw.js
    COMMAND ${CMAKE_COMMAND} -DSITE=${CMAKE_BINARY_DIR}/${site} -DPAGE=${CMAKE_SOURCE_DIR}/platform/web/page
            -DICONS=${CMAKE_BINARY_DIR}/web-icons -P ${CMAKE_SOURCE_DIR}/platform/web/make_site.cmake
    DEPENDS ${target} ${FINGULP_PAGE_FILES} ${FINGULP_WEB_ICONS} ${CMAKE_SOURCE_DIR}/platform/web/make_site.cmake
            ${CMAKE_SOURCE_DIR}/platform/replay.h
    COMMENT "Assembling the web page in ${site}/")
  add_custom_target(${target}_site ALL DEPENDS ${CMAKE_BINARY_DIR}/${site}/sw.js)
endfunction()

add_executable(fingulp_page app/main_web.cpp)
target_link_libraries(fingulp_page PRIVATE fingulp_program fingulp_web)
target_compile_options(fingulp_page PRIVATE ${FINGULP_WARNINGS})
fingulp_web_site(fingulp_page site)

include(CTest)
if(BUILD_TESTING)
  add_subdirectory(tests/web)
endif()
