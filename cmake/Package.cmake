# A Debian package of what `cmake --install` puts in place: `cpack -G DEB` in a build folder
# (scripts/package-test.sh builds it from a release build and installs it into a fresh root).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME soramine)
set(CPACK_PACKAGE_VENDOR "The Soramine developers")
set(CPACK_PACKAGE_CONTACT "The Soramine developers <soramine@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Batch renamer for files and folders (Japanese user interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "ソラミネ gathers the files of a folder, or the folders themselves, into a list and renames them all at once with one of fifteen methods, previewing every new name first. soramine-cli runs saved settings without a window.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY soramine)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://soramine.example.org/")
# The libraries the programs link (Qt 6, PCRE2, fontconfig, the C++ runtime) as dpkg-shlibdeps
# finds them; without it, the packages that hold them on Debian 12.
find_program(SORAMINE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(SORAMINE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libpcre2-16-0")
  if(SORAMINE_GUI)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
           ", libqt6core6, libqt6gui6, libqt6widgets6, libqt6network6, libfontconfig1")
  endif()
endif()
if(SORAMINE_GUI)
  # Japanese glyphs for the window, and Qt's own texts (standard buttons) in Japanese.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n")
endif()
include(CPack)
