# Installation layout and the Debian package.
#
# `cmake --install` puts the two programs under bin/, the desktop entry, the program icon
# in the hicolor theme, the manual pages and the package's copyright and changelog where a
# desktop and Debian look for them. `cpack -G DEB` (the `package` target) wraps the same
# tree into a .deb whose dependencies dpkg-shlibdeps computes from the binaries.
include(GNUInstallDirs)

# Debian wants 0755 directories whatever the builder's umask says.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(TOLVEX_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(TOLVEX_ART_DIR ${PROJECT_SOURCE_DIR}/src/ui/main/art)
set(TOLVEX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tolvex)

install(TARGETS tolvex tolvex-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TOLVEX_DATA_DIR}/tolvex.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

foreach(size 16 32 48 64 128 256)
    install(FILES ${TOLVEX_ART_DIR}/tolvex-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME tolvex.png)
endforeach()
install(FILES ${TOLVEX_ART_DIR}/tolvex.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages and the Debian changelog are installed compressed, as Debian policy asks;
# -n leaves the name and time out of the gzip header so that rebuilds are identical.
find_program(TOLVEX_GZIP gzip REQUIRED)
set(gzipped)
foreach(source tolvex.1 tolvex-cli.1 changelog.Debian)
    set(output ${PROJECT_BINARY_DIR}/data/${source}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/data
        COMMAND ${TOLVEX_GZIP} -9 -n -c ${TOLVEX_DATA_DIR}/${source} > ${output}
        DEPENDS ${TOLVEX_DATA_DIR}/${source}
        COMMENT "Compressing ${source}"
        VERBATIM)
    list(APPEND gzipped ${output})
endforeach()
add_custom_target(tolvex_data ALL DEPENDS ${gzipped})
install(FILES ${PROJECT_BINARY_DIR}/data/tolvex.1.gz ${PROJECT_BINARY_DIR}/data/tolvex-cli.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TOLVEX_DATA_DIR}/copyright ${PROJECT_BINARY_DIR}/data/changelog.Debian.gz
    DESTINATION ${TOLVEX_DOC_DIR})

# The package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvex)
set(CPACK_PACKAGE_VENDOR "Tolvex developers")
set(CPACK_PACKAGE_CONTACT "Tolvex developers <maintainers@users.noreply.c-seed-d65cf0d8.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "serverless chat for the computers of a local network")
# CPack puts the summary on the first line and indents the rest itself ("." for the blank line).
set(CPACK_PACKAGE_DESCRIPTION
    "Every running copy is a peer of equal standing: it announces itself by UDP
broadcast on one port, lists the other users of its channel while they keep
sending keep-alives, and exchanges short text messages with the users that
its user selects. There is no server and no account.

The package holds the desktop program (a small window above the panel, a chat
window and an icon in the notification area) and tolvex-cli, the same chat
for terminals and servers.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
