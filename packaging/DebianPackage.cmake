# `cpack -G DEB` in the build folder makes pelko_<version>_<arch>.deb, clean under lintian.
# The package revision is 1: its changelog is therefore changelog.Debian.gz, as Debian names the
# changelog of a packaging that carries a revision of its own.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE _arch
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT _arch)
  set(_arch amd64)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pelko developers")
set(CPACK_PACKAGE_CONTACT "Pelko developers <pelko-dev@pelko.example.jp>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "quest navigator and progress tracker for Verdania")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A companion with a Japanese interface for players of the online
role-playing game Verdania. It reads a quest database and shows, in one
window, where each quest is accepted, what it asks for, how it is cleared
and what it rewards.

Quests are listed by region and by the player's own progress, sorted by
name or in file order with chained quests drawn as a tree, and found by a
keyword in their names, contents and rewards. Each quest is marked not
done, cleared or on hold, and the completion rate is shown. A sample
database is included, and pelko-check checks a database of one's own.")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME pelko_${PROJECT_VERSION}_${_arch}.deb)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://pelko.example.jp/)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The libraries come from dpkg-shlibdeps; the window's fixed boxes are laid out for a Japanese
# gothic face, and Qt's translations give its standard buttons the system's language.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
# Owned by root, 0755 folders and programs, 0644 files, whatever the umask of the build.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackagePermissions.cmake)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
