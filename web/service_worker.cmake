# Writes the page's service worker, DIR/sw.js, from the template web/sw.js:
# the files of web/bundle.txt that the page uses, each with its SHA-256 as
# found in DIR, and the cache named for VERSION and for those contents.
#
#   cmake -DDIR=build-web -DVERSION=1.0.0 -P web/service_worker.cmake
#
# The web build runs it once everything else is built; a test runs it on a
# copy of the build to make a second version.
foreach(var DIR VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "service_worker.cmake needs -D${var}=...")
  endif()
endforeach()

file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/bundle.txt names REGEX "^[^#]")
# Not the page's: the worker itself, which the browser fetches on its own, and
# the replay tool for node.
list(FILTER names EXCLUDE REGEX "^(sw\\.js|drumhold-trace\\..*)$")

set(FILES "")
foreach(name ${names})
  if(NOT EXISTS ${DIR}/${name})
    message(FATAL_ERROR "service_worker.cmake: ${DIR}/${name} is missing")
  endif()
  file(SHA256 ${DIR}/${name} hash)
  string(APPEND FILES "    '${name}': '${hash}',\n")
endforeach()
string(SHA256 contents "${VERSION}\n${FILES}")
string(SUBSTRING ${contents} 0 16 contents)
set(CACHE_NAME "drumhold-${VERSION}-${contents}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/sw.js ${DIR}/sw.js @ONLY)
