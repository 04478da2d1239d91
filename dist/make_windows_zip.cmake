# Packs the Windows zip (run by the build: see windows_package.cmake). Everything
# sits in one folder, drumhold/, so that unpacking makes no mess.
file(REMOVE_RECURSE ${STAGE})
set(top ${STAGE}/drumhold)
file(MAKE_DIRECTORY ${top}/licences)
foreach(program ${PROGRAMS})
  get_filename_component(name ${program} NAME)
  execute_process(COMMAND ${STRIP} -o ${top}/${name} ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(COPY ${FONT} DESTINATION ${top})
# Text files with Windows line ends, for any editor.
function(as_text from to)
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()
as_text(${README} ${top}/README.txt)
foreach(licence ${LICENCES})
  get_filename_component(name ${licence} NAME)
  if(name STREQUAL "copyright")  # Debian's file for the font
    set(name OCR-A-font.txt)
  endif()
  as_text(${licence} ${top}/licences/${name})
endforeach()
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip drumhold
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
