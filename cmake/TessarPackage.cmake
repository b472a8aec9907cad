# The Debian package: `cpack -G DEB` in a build folder packs what
# `cmake --install` installs, under /usr, with the binaries stripped and
# Depends worked out by dpkg-shlibdeps from the libraries they link.
# Pack a Release (or RelWithDebInfo) build; a sanitizer build would drag its
# runtime libraries into Depends.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Corvant Laboratory Systems")
set(CPACK_PACKAGE_CONTACT "Corvant Laboratory Systems <support@corvant.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The tree CPack stages into is made with the packer's umask; a package's
# folders must be 0755 whatever that is.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack puts the summary first and indents the rest as Debian wants (a
# blank line becomes " .").
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Tessar prepares the sample list of a micro-well plate that an automated
X-Y sample stage will visit. For a plate of 24, 48, 96 or 384 wells it
records, for every well, one of six named and coloured keys and up to
nine lines of description. A map of the plate shows at a glance which
wells hold information and which key each well has.

Sample lists are saved as plain-text .kwl files that can be reopened,
printed, searched, listed by key and copied to the clipboard as a table.

The package also holds tessar-kwl, a command-line tool that reads,
checks and rewrites .kwl files exactly as the program does, and the
user manual.]=])

include(CPack)
