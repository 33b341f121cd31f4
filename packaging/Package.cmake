# The Debian package: `cpack -G DEB` in a build configured for /usr gives
# varnopel_<major.minor.patch>_<arch>.deb (scripts/package.sh does it all).
set(CPACK_PACKAGE_NAME varnopel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_VENDOR "Quillmoor Software Works")
set(CPACK_PACKAGE_CONTACT "Quillmoor Software Works <varnopel@quillmoor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "split text files by lines")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.quillmoor.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary above becomes the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Varnopel (ヴァルノペル) reads text files, detecting each file's character
code (Shift_JIS, EUC-JP, JIS, UTF-8 with or without a byte-order mark,
UTF-16, ASCII) and line break, and keeps all their lines in one working
list that can be reversed, shuffled, sorted and cleared of repeated lines.
It cuts the list into a number of files, files of a number of lines, or a
first part and the rest, in blocks or dealt out in turn, writing each file
in the input's character code.
.
The package has the window program (varnopel, Japanese interface) and the
command-line companion varnopel-split, with manual pages and bash and zsh
completion.")
# The libraries the programs link come from dpkg-shlibdeps. Qt's plugins are
# loaded at run time, where dpkg-shlibdeps cannot see them: the SVG ones draw
# the icons (the X11 platform plugin comes with libqt6gui6).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(NOT VARNOPEL_CORE_ONLY)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
endif()
# The Japanese interface wants a Japanese font; xdg-open opens files and help.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")

include(CPack)
