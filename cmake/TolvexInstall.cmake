# Installation layout and the Debian packages.
#
# `cmake --install` puts the two programs under bin/, the desktop entry, the software-centre
# description, the program icon in the hicolor theme, the manual pages and the packages'
# copyright and changelog where a desktop and Debian look for them. `cpack -G DEB` (the
# `package` target) wraps the same tree into two .deb files, one per install component:
# "desktop" becomes the package tolvex, "cli" the package tolvex-cli, which needs QtCore
# alone and so installs on a server without X or sound libraries. dpkg-shlibdeps computes
# each package's dependencies from its own binary.
include(GNUInstallDirs)

# Debian wants 0755 directories whatever the builder's umask says.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(TOLVEX_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(TOLVEX_ART_DIR ${PROJECT_SOURCE_DIR}/src/ui/main/art)
set(TOLVEX_APPSTREAM_ID org.example.tolvex)

install(TARGETS tolvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
install(TARGETS tolvex-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(FILES ${TOLVEX_DATA_DIR}/tolvex.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
install(FILES ${TOLVEX_DATA_DIR}/${TOLVEX_APPSTREAM_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)

foreach(size 16 32 48 64 128 256)
    install(FILES ${TOLVEX_ART_DIR}/tolvex-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME tolvex.png COMPONENT desktop)
endforeach()
install(FILES ${TOLVEX_ART_DIR}/tolvex.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT desktop)

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
install(FILES ${PROJECT_BINARY_DIR}/data/tolvex.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
install(FILES ${PROJECT_BINARY_DIR}/data/tolvex-cli.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
# Each package carries its own copyright and changelog.
foreach(component_package desktop:tolvex cli:tolvex-cli)
    string(REPLACE ":" ";" pair ${component_package})
    list(GET pair 0 component)
    list(GET pair 1 package)
    install(FILES ${TOLVEX_DATA_DIR}/copyright ${PROJECT_BINARY_DIR}/data/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

# The packages.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL desktop cli)
set(CPACK_PACKAGE_NAME tolvex)
set(CPACK_PACKAGE_VENDOR "Tolvex developers")
set(CPACK_PACKAGE_CONTACT "Tolvex developers <maintainers@users.noreply.c-seed-d65cf0d8.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The first release of the two packages; 1.0.1-1 was one package holding both programs.
set(CPACK_DEBIAN_PACKAGE_RELEASE 2)
set(TOLVEX_DEB_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SOURCE tolvex)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(TOLVEX_DEB_ABOUT
    "Every running copy is a peer of equal standing: it announces itself by UDP
broadcast on one port, lists the other users of its channel while they keep
sending keep-alives, and exchanges short text messages with the users that
its user selects. There is no server and no account.")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME tolvex)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION net)
# CPack takes the first line as the synopsis and indents the rest itself.
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
    "serverless chat for the computers of a local network
${TOLVEX_DEB_ABOUT}

This package holds the desktop program: a small window above the panel, a
chat window and an icon in the notification area.")
# Desktop users usually want the terminal front-end too; a server never needs the windows.
# The sound library is opened when a tone first plays (without it the display bell rings),
# so the library scan does not see it.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "tolvex-cli (= ${TOLVEX_DEB_VERSION}), libasound2")
# Wayland desktops without XWayland need the toolkit's Wayland plugin, which no library pulls in.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "qt6-wayland")
set(CPACK_DEBIAN_CLI_PACKAGE_NAME tolvex-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION net)
set(CPACK_DEBIAN_CLI_DESCRIPTION
    "serverless LAN chat for terminals, servers and scripts
${TOLVEX_DEB_ABOUT}

This package holds tolvex-cli, the same chat in a terminal, and its --send
mode, which tells everyone on the network something from a script. It needs
no display, no X and no sound libraries.")
# tolvex 1.0.1-1 shipped /usr/bin/tolvex-cli itself.
set(CPACK_DEBIAN_CLI_PACKAGE_BREAKS "tolvex (<< ${TOLVEX_DEB_VERSION})")
set(CPACK_DEBIAN_CLI_PACKAGE_REPLACES "tolvex (<< ${TOLVEX_DEB_VERSION})")
include(CPack)

# Each program's catalogues go with its package.
install(FILES ${TOLVEX_DESKTOP_QM}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/tolvex/translations COMPONENT desktop)
install(FILES ${TOLVEX_CLI_QM}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/tolvex/translations COMPONENT cli)
