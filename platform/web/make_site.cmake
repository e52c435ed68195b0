# Assembles a web site folder around the linked fingulp.js and fingulp.wasm:
# the page's files, the icons, and the service worker, whose cache name is a
# hash of everything it caches so that a new build replaces the cached one.
# index.html asks for the program's files with their version in the URL, so
# that no cache (the browser's or the worker's) answers with another one's.
# cmake -DSITE=folder -DPAGE=platform/web/page -DICONS=web-icons -P make_site.cmake
file(SHA256 ${SITE}/fingulp.js js_hash)
file(SHA256 ${SITE}/fingulp.wasm wasm_hash)
string(SHA256 program_hash "${js_hash}${wasm_hash}")
string(SUBSTRING ${program_hash} 0 16 FINGULP_PROGRAM_ID)

# What comes before a replay in a link, from the program's one definition, for
# the page's first paint (before the program runs).
file(STRINGS ${PAGE}/../../replay.h link_line REGEX "kLinkName = \"[^\"]*\"")
string(REGEX REPLACE ".*kLinkName = \"([^\"]*)\".*" "\\1" FINGULP_LINK_NAME "${link_line}")
if(NOT FINGULP_LINK_NAME)
  message(FATAL_ERROR "no kLinkName in platform/replay.h")
endif()

file(GLOB page_files ${PAGE}/*)
foreach(f IN LISTS page_files)
  get_filename_component(name ${f} NAME)
  if(name STREQUAL "index.html")
    configure_file(${f} ${SITE}/${name} @ONLY)
  elseif(NOT name STREQUAL "sw.js.in")
    configure_file(${f} ${SITE}/${name} COPYONLY)
  endif()
endforeach()
foreach(size 192 512)
  configure_file(${ICONS}/${size}x${size}/apps/fingulp.png ${SITE}/icon-${size}.png COPYONLY)
endforeach()
# The maskable icon only serves an install, which needs the network anyway.
configure_file(${ICONS}/maskable/512x512/apps/fingulp.png ${SITE}/icon-maskable-512.png COPYONLY)

# Each cached file by the URL the page asks for, with its hash.
set(cached index.html fingulp.js fingulp.wasm manifest.webmanifest icon-192.png icon-512.png)
set(contents "")
set(entries "")
foreach(name IN LISTS cached)
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND contents "${hash}")
  set(url "./${name}")
  if(name MATCHES "^fingulp\\.")
    set(url "${url}?v=${FINGULP_PROGRAM_ID}")
  endif()
  list(APPEND entries "'${url}': '${hash}'")
endforeach()
string(SHA256 build_hash "${contents}")
string(SUBSTRING ${build_hash} 0 16 FINGULP_BUILD_ID)
list(JOIN entries ", " FINGULP_CACHED_FILES)
configure_file(${PAGE}/sw.js.in ${SITE}/sw.js @ONLY)
