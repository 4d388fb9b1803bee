# cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -DCOMMANDS=games -DSAMPLE=... -P CheckInstall.cmake
# Installs the build into PREFIX (emptied first) and fails unless every file is in its place.
foreach(var BUILD_DIR PREFIX APP_ID COMMANDS SAMPLE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
    ${COMMANDS}/pelko
    ${COMMANDS}/pelko-check
    libexec/pelko/pelko
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/16x16/apps/${APP_ID}.png
    share/icons/hicolor/32x32/apps/${APP_ID}.png
    share/icons/hicolor/48x48/apps/${APP_ID}.png
    share/icons/hicolor/256x256/apps/${APP_ID}.png
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    share/pelko/Pelko.dat
    share/man/man6/pelko.6.gz
    share/man/man6/pelko-check.6.gz
    share/doc/pelko/copyright
    share/doc/pelko/changelog.Debian.gz
    share/lintian/overrides/pelko)
set(missing)
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f} OR IS_DIRECTORY ${PREFIX}/${f})
    list(APPEND missing ${f})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed: ${missing}")
endif()

foreach(program ${COMMANDS}/pelko ${COMMANDS}/pelko-check libexec/pelko/pelko)
  execute_process(COMMAND test -x ${PREFIX}/${program} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${program} is not executable")
  endif()
endforeach()

# Each icon must be the size its folder claims: the width and height of a PNG are the two
# big-endian words at bytes 16 and 20.
foreach(size 16 32 48 256)
  file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png header
       LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 16 dims)
  string(SUBSTRING "${dims}" 0 8 wHex)
  string(SUBSTRING "${dims}" 8 8 hHex)
  math(EXPR w "0x${wHex}")
  math(EXPR h "0x${hHex}")
  if(NOT w EQUAL size OR NOT h EQUAL size)
    message(FATAL_ERROR "the ${size}x${size} icon is ${w}x${h}")
  endif()
endforeach()

file(SHA256 ${SAMPLE} want)
file(SHA256 ${PREFIX}/share/pelko/Pelko.dat got)
if(NOT want STREQUAL got)
  message(FATAL_ERROR "the installed Pelko.dat differs from the sample")
endif()
list(LENGTH expected count)
message(STATUS "${count} files installed under ${PREFIX}")
