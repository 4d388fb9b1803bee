# cmake -DPREFIX=... -DCOMMANDS=games -DSAMPLE=... -DVERSION=... -P CheckLauncher.cmake
# Runs the installed launcher with a stand-in for the program that prints the folder it was
# started in and its arguments, and checks that the data folder is made, seeded once and never
# overwritten, never through a name that something of the player's already bears; that a
# database link leading nowhere stays a link; and that each way the data folder can fail is
# shown by the program (its private option) and ends with status 1, with nothing replaced.
foreach(var PREFIX COMMANDS SAMPLE VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

set(launcher ${PREFIX}/${COMMANDS}/pelko)
file(WRITE ${PREFIX}/libexec/pelko/pelko "#!/bin/sh\npwd -P\nprintf '%s\\n' \"$@\"\n")
file(CHMOD ${PREFIX}/libexec/pelko/pelko PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
           GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(SHA256 ${SAMPLE} sampleHash)
# Permissions hold for a player, not for root: such starts run as the user nobody.
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(player)
if(uid EQUAL 0)
  set(player setpriv --reuid=65534 --regid=65534 --clear-groups)
endif()

# start(<env assignments>... [ARGS <launcher arguments>...] [AS_PLAYER]): one start, from the
# menu or a terminal; sets status, printed (the stand-in's lines) and complaint (the error output).
macro(start)
  cmake_parse_arguments(R "AS_PLAYER" "" "ARGS" ${ARGN})
  set(as)
  if(R_AS_PLAYER)
    set(as ${player})
  endif()
  execute_process(COMMAND ${as} ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME
                          ${R_UNPARSED_ARGUMENTS} ${launcher} ${R_ARGS}
                  WORKING_DIRECTORY ${PREFIX} RESULT_VARIABLE status OUTPUT_VARIABLE printed
                  ERROR_VARIABLE complaint)
  string(STRIP "${printed}" printed)
  string(REPLACE "\n" ";" printed "${printed}")
endmacro()

# run(<expected data folder> ...): a start that runs the program in that folder, without arguments.
function(run folder)
  start(${ARGN})
  file(REAL_PATH ${folder} want)
  if(NOT status EQUAL 0 OR NOT printed STREQUAL "${want}")
    message(FATAL_ERROR "started in '${printed}' (${status}: ${complaint}), expected '${want}'")
  endif()
endfunction()

# fail(<kind> <folder as named> ...): a start that shows the failure through the program, says it
# on the error output and ends with status 1.
function(fail kind folder)
  start(${ARGN})
  if(printed)
    list(REMOVE_AT printed 0) # where the program runs then does not matter
  endif()
  set(want "--launcher-failure;${kind};${folder}")
  if(NOT status EQUAL 1 OR NOT printed STREQUAL want OR NOT complaint MATCHES "pelko: ")
    message(FATAL_ERROR "'${printed}' (${status}: ${complaint}), expected '${want}'")
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

# A folder of the player's at the name the launcher once copied through is neither filled nor
# moved into place: the sample goes beside it, through a name of the launcher's own.
file(REMOVE_RECURSE ${PREFIX}/seedname)
file(WRITE ${PREFIX}/seedname/.Pelko.dat.seed/notes "mine")
run(${PREFIX}/seedname ARGS seedname)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${PREFIX}/seedname ${PREFIX}/seedname/*
     ${PREFIX}/seedname/.*)
list(SORT entries)
if(NOT entries STREQUAL ".Pelko.dat.seed;.Pelko.dat.seed/notes;Pelko.dat")
  message(FATAL_ERROR "the player's .Pelko.dat.seed was used to seed: ${entries}")
endif()
file(READ ${PREFIX}/seedname/.Pelko.dat.seed/notes kept)
file(SHA256 ${PREFIX}/seedname/Pelko.dat hash)
if(NOT kept STREQUAL "mine" OR NOT hash STREQUAL sampleHash)
  message(FATAL_ERROR "the player's .Pelko.dat.seed changed, or the sample did not arrive")
endif()

# A database link leading nowhere (the player's database on a drive not mounted) stays a link;
# the program then says it cannot read the database.
file(REMOVE_RECURSE ${PREFIX}/unmounted)
file(MAKE_DIRECTORY ${PREFIX}/unmounted)
file(CREATE_LINK /nonexistent/drive/Pelko.dat ${PREFIX}/unmounted/Pelko.dat SYMBOLIC)
run(${PREFIX}/unmounted ARGS unmounted)
file(READ_SYMLINK ${PREFIX}/unmounted/Pelko.dat target)
file(GLOB entries LIST_DIRECTORIES true ${PREFIX}/unmounted/* ${PREFIX}/unmounted/.*)
if(NOT target STREQUAL "/nonexistent/drive/Pelko.dat" OR NOT entries STREQUAL "${PREFIX}/unmounted/Pelko.dat")
  message(FATAL_ERROR "the link to the database was replaced: ${entries}")
endif()

# Each failure of the data folder, from the menu or a terminal; nothing at the name is replaced.
file(REMOVE_RECURSE ${PREFIX}/odd)
file(MAKE_DIRECTORY ${PREFIX}/odd/xdg ${PREFIX}/odd/locked ${PREFIX}/odd/closed)
file(WRITE ${PREFIX}/odd/xdg/pelko "mine")
file(CREATE_LINK loop ${PREFIX}/odd/loop SYMBOLIC)
file(CHMOD ${PREFIX}/odd/locked PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
           WORLD_READ WORLD_EXECUTE)
file(CHMOD ${PREFIX}/odd/closed PERMISSIONS OWNER_READ OWNER_WRITE)
fail(no-home "~/.local/share/pelko" --unset=HOME)
fail(not-a-folder ${PREFIX}/odd/xdg/pelko XDG_DATA_HOME=${PREFIX}/odd/xdg HOME=${PREFIX}/nohome)
fail(not-a-folder odd/loop ARGS odd/loop)
fail(cannot-make odd/xdg/pelko/data ARGS odd/xdg/pelko/data)
fail(cannot-write odd/locked ARGS odd/locked AS_PLAYER)
fail(cannot-enter odd/closed ARGS odd/closed AS_PLAYER)
file(READ ${PREFIX}/odd/xdg/pelko kept)
file(READ_SYMLINK ${PREFIX}/odd/loop loop)
file(GLOB entries LIST_DIRECTORIES true ${PREFIX}/odd/locked/* ${PREFIX}/odd/locked/.*)
if(NOT kept STREQUAL "mine" OR NOT loop STREQUAL "loop" OR entries)
  message(FATAL_ERROR "a failed start changed what stood there")
endif()
file(CHMOD ${PREFIX}/odd/closed PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# --version answers at once: no data folder, no program, no display.
start(--unset=HOME --unset=DISPLAY ARGS --version)
if(NOT status EQUAL 0 OR NOT printed STREQUAL "pelko ${VERSION}")
  message(FATAL_ERROR "--version printed '${printed}' (${status}: ${complaint})")
endif()
message(STATUS "the launcher seeds and keeps the data folder, and shows every failure")
