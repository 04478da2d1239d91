# The Windows package, build-windows/drumhold-VERSION-windows-x64.zip: the game and the
# replay tool, the README for Windows players as text (packaging/README-windows.md,
# with the sections it shares taken from README.md), the project's licence, the
# OCR-A font the game looks for beside itself (Debian's fonts-ocr-a, in the
# public domain) and the licences of what the game links in.
set(DRUMHOLD_OCR_A_DIR /usr/share/fonts/truetype/ocr-a CACHE PATH "Folder of Debian's OCR-A fonts")
set(font ${DRUMHOLD_OCR_A_DIR}/OCRABold.ttf)
if(NOT EXISTS ${font})
  message(FATAL_ERROR "${font} is missing: install fonts-ocr-a (scripts/windows-deps.sh does)")
endif()
# Beside the programs of the build too, where the game and the tests run.
configure_file(${font} ${PROJECT_BINARY_DIR}/OCRABold.ttf COPYONLY)

set(zip_name drumhold-${PROJECT_VERSION}-windows-x64.zip)
set(zip ${PROJECT_BINARY_DIR}/${zip_name})
set(pack ${PROJECT_SOURCE_DIR}/scripts/pack-zip.sh)
set(licences
  ${DRUMHOLD_WINDOWS_DEPS}/share/licenses/SDL2-LICENSE.txt
  ${DRUMHOLD_WINDOWS_DEPS}/share/licenses/FreeType-FTL.txt
  ${DRUMHOLD_WINDOWS_DEPS}/share/licenses/MinGW-w64-runtime.txt)
add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -DZIP=${zip} -DSTAGE=${PROJECT_BINARY_DIR}/package -DSTRIP=${CMAKE_STRIP}
          "-DPROGRAMS=$<TARGET_FILE:drumhold>;$<TARGET_FILE:drumhold-trace>"
          -DREADME=${CMAKE_CURRENT_SOURCE_DIR}/README-windows.md -DSOURCE=${PROJECT_SOURCE_DIR}
          -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE -DFONT=${font}
          "-DLICENCES=${licences};/usr/share/doc/fonts-ocr-a/copyright"
          -DPACK=${pack} -P ${CMAKE_CURRENT_SOURCE_DIR}/make_windows_zip.cmake
  DEPENDS drumhold drumhold-trace ${CMAKE_CURRENT_SOURCE_DIR}/README-windows.md ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/LICENSE ${font} ${licences} ${CMAKE_CURRENT_SOURCE_DIR}/make_windows_zip.cmake ${pack}
  COMMENT "Packing ${zip_name}"
  VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${zip})
