# The Debian package, built by CPack from the install rules: `cpack -G DEB` in a Release build
# directory leaves tolvane_<version>_<architecture>.deb there (tools/dev.sh package does it and
# checks the result with tools/check-package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tolvane developers")
set(CPACK_PACKAGE_CONTACT "Tolvane developers <tolvane@tolvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for Varko access control units")
set(CPACK_PACKAGE_DESCRIPTION
    "Tolvane configures Varko access control units: gate and door controllers
with four channels, codes, a telephone entry directory, schedules and a
transaction log. It works on a byte-exact image of the unit's memory module
(*.mem files), edits it, prints its reports, and downloads it from or uploads
it to the unit over a serial line or by modem.
.
The package holds the desktop program tolvane, with a demo installation that
runs against a simulated unit, and tolvane-cli, which checks, exports, lists
and imports memory module files and transfers them from a terminal.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are computed from the binaries as they were linked. The one that cannot show
# there is the SVG icon engine: a Qt plugin that no binary links, but that draws every icon.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)

# What the archive holds must not depend on the umask or the build machine: directories 0755,
# files as the install rules give them (0644, programs 0755), programs without symbols.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

include(CPack)
