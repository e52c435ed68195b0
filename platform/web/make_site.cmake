# Assembles a web site folder around the linked fingulp.js and fingulp.wasm:
# the page's files, the icons, and the service worker, whose cache name is a
# hash of everything it caches so that a new build replaces the cached one.
# cmake -DSITE=folder -DPAGE=platform/web/page -DICONS=web-icons -P make_site.cmake
file(GLOB page_files ${PAGE}/*)
foreach(f IN LISTS page_files)
  get_filename_component(name ${f} NAME)
  if(NOT name STREQUAL "sw.js.in")
    configure_file(${f} ${SITE}/${name} COPYONLY)
  endif()
endforeach()
foreach(size 192 512)
  configure_file(${ICONS}/${size}x${size}/apps/fingulp.png ${SITE}/icon-${size}.png COPYONLY)
endforeach()

set(cached index.html fingulp.js fingulp.wasm manifest.webmanifest icon-192.png icon-512.png)
set(contents "")
foreach(name IN LISTS cached)
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND contents "${hash}")
endforeach()
string(SHA256 build_hash "${contents}")
string(SUBSTRING ${build_hash} 0 16 FINGULP_BUILD_ID)
list(TRANSFORM cached PREPEND "'./")
list(TRANSFORM cached APPEND "'")
list(JOIN cached ", " FINGULP_CACHED_FILES)
configure_file(${PAGE}/sw.js.in ${SITE}/sw.js @ONLY)
