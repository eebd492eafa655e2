# What an installed Ostrel consists of, and the Debian package that carries it,
# ostrel_<product version>_amd64.deb: scripts/package.sh makes it.

set(ostrelPackaging ${PROJECT_SOURCE_DIR}/packaging)
# Named after the maker's web address, as desktops and software centres expect.
set(ostrelId example.mervane.ostrel)

install(TARGETS ostrel RUNTIME DESTINATION bin)
install(FILES ${ostrelPackaging}/${ostrelId}.desktop DESTINATION share/applications)
install(FILES ${ostrelPackaging}/${ostrelId}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${ostrelPackaging}/copyright DESTINATION share/doc/ostrel)

# The program's icon at every size it is drawn in, and its source for any other size.
foreach(size 16 24 32 48 64 72 96 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/ostrel-${size}.png
        DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ostrel.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/sources/computer.svg
    DESTINATION share/icons/hicolor/scalable/apps RENAME ostrel.svg)

# ostrel_install_compressed(SOURCE NAME DESTINATION): packaging/SOURCE.in with the product
# version filled in, installed as NAME.gz. Debian keeps manual pages and changelogs compressed,
# without a time stamp in the compressed file.
function(ostrel_install_compressed source name destination)
    set(configured ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name})
    configure_file(${ostrelPackaging}/${source}.in ${configured} @ONLY)
    add_custom_command(OUTPUT ${configured}.gz
        COMMAND gzip -9nf -k ${configured}
        DEPENDS ${configured}
        COMMENT "Compressing ${name}")
    add_custom_target(compressed_${name} ALL DEPENDS ${configured}.gz)
    install(FILES ${configured}.gz DESTINATION ${destination})
endfunction()
ostrel_install_compressed(ostrel.1 ostrel.1 share/man/man1)
# A package made here, not from a Debian source package, is native: its changelog is changelog.gz.
ostrel_install_compressed(changelog changelog share/doc/ostrel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Mervane)
set(CPACK_PACKAGE_CONTACT "Mervane <ostrel@mervane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find and view the computers of a network that run a monitoring agent")
set(CPACK_PACKAGE_DESCRIPTION "Ostrel broadcasts a discovery request on the local network and lists every
computer whose monitoring agent answers, with a green badge on those that are
online. Clicking a computer shows its agent's web pages inside the window.

The list of computers is kept in one file that every user of the machine
shares, in /var/lib/Mervane.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.mervane.example/)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The libraries come from what the binary links (dpkg-shlibdeps); the post-installation step
# sets the shared folder's ACL with setfacl.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS acl)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${ostrelPackaging}/postinst ${ostrelPackaging}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
