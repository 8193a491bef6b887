# Install rules and the Debian package (scripts/package runs cpack on a
# release build). An installed program keeps the sample control files under
# share/db-dravik/samples; each user's program folder is made from them.
set(DRAVIK_PACKAGE_NAME db-dravik)
set(DRAVIK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${DRAVIK_PACKAGE_NAME})
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS DB_Dravik db-dravik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES schema/control/Conv.txt schema/control/GENERATOR.txt
        DESTINATION ${DRAVIK_SAMPLES_DIR})
install(DIRECTORY schema/control/SQL DESTINATION ${DRAVIK_SAMPLES_DIR})
install(FILES ${packaging}/db-dravik.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/db-dravik.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${packaging}/copyright DESTINATION ${DRAVIK_DOC_DIR})

# The package's changelog is the one place besides the project that names a
# version; the two must agree.
file(STRINGS ${packaging}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^${DRAVIK_PACKAGE_NAME} \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with \"${changelog_head}\", "
                      "not with version ${PROJECT_VERSION} of the project")
endif()

# Compressed without a name or time stamp, so the same sources give the same package.
function(dravik_gzip source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND gzip -9 -n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()
file(MAKE_DIRECTORY ${generated})
dravik_gzip(${packaging}/changelog ${generated}/changelog.gz)
dravik_gzip(${packaging}/DB_Dravik.1 ${generated}/DB_Dravik.1.gz)
set(package_docs ${generated}/changelog.gz ${generated}/DB_Dravik.1.gz)

# db-dravik's manual page is made from its own --help and --version, so the two
# never tell different stories. A sanitizer build skips it: its executables
# report leaks at exit.
find_program(HELP2MAN help2man)
if(HELP2MAN AND NOT DRAVIK_SANITIZE)
  add_custom_command(
    OUTPUT ${generated}/db-dravik.1
    COMMAND ${CMAKE_COMMAND} -E env LANG=C LC_ALL=C ${HELP2MAN} --no-info --section=1
            --include=${packaging}/db-dravik.h2m --output=${generated}/db-dravik.1
            $<TARGET_FILE:db-dravik>
    DEPENDS db-dravik ${packaging}/db-dravik.h2m VERBATIM)
  dravik_gzip(${generated}/db-dravik.1 ${generated}/db-dravik.1.gz)
  list(APPEND package_docs ${generated}/db-dravik.1.gz)
  install(FILES ${generated}/db-dravik.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found or sanitizer build: no manual page for db-dravik")
endif()
add_custom_target(package_docs ALL DEPENDS ${package_docs})
install(FILES ${generated}/DB_Dravik.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/changelog.gz DESTINATION ${DRAVIK_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${DRAVIK_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "DB_Dravik maintainers <maintainers@users.noreply.c-seed-7f4f9a5c.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "moves an access-control installation between Firebird databases")
set(CPACK_PACKAGE_DESCRIPTION
    "DB_Dravik moves the configuration of an access-control installation
(hosts, controllers, readers, inputs, outputs, owners, macros, settings and,
on request, events and alarms) from one Firebird database into another. Rows
get new keys in the destination and every reference is rewritten to them; the
devices' run-time state is carried over under the new keys.
.
The window «Перенос данных» (DB_Dravik) and the command db-dravik, which adds
a read-only plan, a check after the run and a backup of the destination, make
the same transfer. Each user gets a program folder of their own under
~/.local/share/db-dravik, made from the sample control files on first start.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them: the client library,
# the embedded engine it loads for a file path, Qt's platform plugins and Qt's
# Russian texts of the standard buttons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libfbclient2, firebird3.0-server-core, qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
