# Where `cmake --install` puts things, and the helper optional modules use to register
# themselves. The program finds its modules beside itself (a build folder) or in
# <prefix>/lib/rirerazo/ (an installed layout), so modules go to that exact folder rather
# than to a multiarch library folder.
include(GNUInstallDirs)

set(RIRERAZO_PROGRAM_DIR "${PROJECT_BINARY_DIR}/src")  # where the build puts the player
set(RIRERAZO_MODULE_INSTALL_DIR "lib/rirerazo")
set(RIRERAZO_CHARACTER_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/rirerazo/characters")
set(RIRERAZO_DOC_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/doc/rirerazo")

# rirerazo_module(<target> <file stem>): makes the MODULE library <target> a module of the
# player named <file stem>.so, built beside the player (so a build tree runs as is), built
# whenever the player is, and installed to <prefix>/lib/rirerazo/.
function(rirerazo_module target stem)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME "${stem}"
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${RIRERAZO_PROGRAM_DIR}")
  install(TARGETS ${target} LIBRARY DESTINATION "${RIRERAZO_MODULE_INSTALL_DIR}")
  if(TARGET rirerazo)
    add_dependencies(rirerazo ${target})
  endif()
endfunction()

# rirerazo_program(<target>): installs a program to <prefix>/bin.
function(rirerazo_program target)
  install(TARGETS ${target} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endfunction()
