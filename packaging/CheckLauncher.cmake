# cmake -DPREFIX=... -DSAMPLE=... -P CheckLauncher.cmake
# Runs the installed launcher with a stand-in for the program that records the folder it was
# started in, and checks that the data folder is made, seeded once and never overwritten.
foreach(var PREFIX SAMPLE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

set(launcher ${PREFIX}/bin/pelko-launcher)
set(record ${PREFIX}/started-in.txt)
file(WRITE ${PREFIX}/bin/pelko "#!/bin/sh\npwd -P > '${record}'\n")
file(CHMOD ${PREFIX}/bin/pelko PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(SHA256 ${SAMPLE} sampleHash)

# run(<expected data folder> <env assignments>...): one start from the menu.
function(run folder)
  file(REMOVE ${record})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME ${ARGN} ${launcher}
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
message(STATUS "the launcher seeds and keeps the data folder")
