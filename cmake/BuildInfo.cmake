# What the programs know of their build, in a header made at configure time:
# the version, and where an installed program finds its sample control files
# relative to its own folder (the same places the install rules use).
include(GNUInstallDirs)
set(DRAVIK_SAMPLES_DIR ${CMAKE_INSTALL_DATADIR}/db-dravik/samples)
file(RELATIVE_PATH DRAVIK_SAMPLES_FROM_BIN /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${DRAVIK_SAMPLES_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildInfo.h.in ${CMAKE_BINARY_DIR}/generated/BuildInfo.h
               @ONLY)
add_library(dravik_buildinfo INTERFACE)
target_include_directories(dravik_buildinfo INTERFACE ${CMAKE_BINARY_DIR}/generated)
