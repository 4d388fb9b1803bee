# cmake -DPREFIX=... -DCOMMANDS=games -DSAMPLE=... -P CheckLauncher.cmake
# Runs the installed launcher with a stand-in for the program that records the folder it was
# started in, and checks that the data folder is made, seeded once and never overwritten.
foreach(var PREFIX COMMANDS SAMPLE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

set(launcher ${PREFIX}/${COMMANDS}/pelko)
set(record ${PREFIX}/started-in.txt)
file(WRITE ${PREFIX}/libexec/pelko/pelko "#!/bin/sh\npwd -P > '${record}'\n")
file(CHMOD ${PREFIX}/libexec/pelko/pelko PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(SHA256 ${SAMPLE} sampleHash)

# run(<expected data folder> <env assignments>... [ARGS <launcher arguments>...]): one start,
# from the menu or a terminal.
function(run folder)
  cmake_parse_arguments(R "" "" "ARGS" ${ARGN})
  file(REMOVE ${record})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME ${R_UNPARSED_ARGUMENTS}
                          ${launcher} ${R_ARGS}
                  WORKING_DIRECTORY ${PREFIX} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the launcher failed: ${rc}")
  endif()
  if(NOT EXISTS ${record})
    message(FATAL_ERROR "the launcher did not start the program")
  endif()
  file(STRINGS ${record} started)
  file(REAL_PATH ${folder} want)
  if(NOT started STREQUAL want)
    message(FATAL_ERROR "started in '${started}', expected '${want}'")
  endif()
endfunction()

function(expect_seeded folder)
  file(SHA256 ${folder}/Pelko.dat hash)
  if(NOT hash STREQUAL sampleHash)
    message(FATAL_ERROR "${folder}/Pelko.dat is not the sample database")
  endif()
  file(GLOB leftovers ${folder}/.*)
  if(leftovers)
    message(FATAL_ERROR "left behind: ${leftovers}")
  endif()
endfunction()

# XDG_DATA_HOME names the data folder; the first start seeds it.
set(xdg ${PREFIX}/xdg)
file(REMOVE_RECURSE ${xdg})
run(${xdg}/pelko XDG_DATA_HOME=${xdg} HOME=${PREFIX}/nohome)
expect_seeded(${xdg}/pelko)

# The player's own database and progress survive every later start.
file(WRITE ${xdg}/pelko/Pelko.dat "mine")
file(WRITE ${xdg}/pelko/clr_stat.dat "0,0\r\n")
run(${xdg}/pelko XDG_DATA_HOME=${xdg} HOME=${PREFIX}/nohome)
file(READ ${xdg}/pelko/Pelko.dat kept)
if(NOT kept STREQUAL "mine")
  message(FATAL_ERROR "the launcher overwrote the player's Pelko.dat")
endif()

# Without XDG_DATA_HOME, or with a relative one, the folder lies under HOME.
set(home ${PREFIX}/home)
file(REMOVE_RECURSE ${home})
run(${home}/.local/share/pelko HOME=${home})
expect_seeded(${home}/.local/share/pelko)
file(REMOVE_RECURSE ${home})
run(${home}/.local/share/pelko HOME=${home} XDG_DATA_HOME=relative/data)
expect_seeded(${home}/.local/share/pelko)

# `pelko DIR` runs in DIR, seeded the same way, relative to where it is typed.
file(REMOVE_RECURSE ${PREFIX}/own ${home})
run(${PREFIX}/own/db HOME=${home} ARGS own/db)
expect_seeded(${PREFIX}/own/db)
if(EXISTS ${home})
  message(FATAL_ERROR "pelko DIR made the data folder")
endif()
message(STATUS "the launcher seeds and keeps the data folder")
