# The Debian package: `cpack -G DEB` in the build folder (a Release build makes a small
# package). Dependencies on shared libraries are computed by dpkg-shlibdeps from the
# program and its modules; the optional pieces some scripts need are recommended or
# suggested only.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rirerazo)
set(CPACK_PACKAGE_VENDOR "RIRERazo developers")
set(CPACK_PACKAGE_CONTACT "RIRERazo developers <rirerazo@example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player for animated desktop character scripts")
set(CPACK_PACKAGE_DESCRIPTION
    "RIRERazo plays character scripts: INI-style .vrn and .vrs files that
bring animated desktop characters to life. Characters speak with speech
synthesis and a word balloon, play animations, move, gesture, listen for
commands, show a backdrop, play media, read text aloud and run slide
shows. Scripts also play headless, with a trace of what they do.
.
The package holds the player, the character file tool rirerazo-char, the
script checker rirerazo-lint, the demo character Rira and examples.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack adds ldconfig calls for any shared object below /usr/lib, modules in
# /usr/lib/rirerazo/ included; lintian notes them (a warning) and they do no harm.
# Speech data and a sound font for MIDI are wanted by most scripts; a presentation program
# and speech-recognition models only by scripts that run slide shows or listen.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "espeak-ng-data, timgm6mb-soundfont | fluid-soundfont-gm, fluidsynth, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-impress, pocketsphinx-en-us")
include(CPack)
