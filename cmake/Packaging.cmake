# The Debian package of the editor and the tool: `cpack -G DEB` in a built build folder
# (or the `package` target) writes build/<package>_<version>-<release>_<arch>.deb.
set(KDR_DEB_PACKAGE kdr450p-editor)
# Bumped when the package changes without a new program version.
set(KDR_DEB_RELEASE 1)
set(KDR_DEB_MAINTAINER "Brenlow AG <kdr450p-editor@brenlow.ag>" CACHE STRING
    "Maintainer of the Debian package: Name <address>")

# The changelog's one entry carries the project version, so nothing else has to follow it;
# its date honours SOURCE_DATE_EPOCH.
set(KDR_DEB_VERSION "${PROJECT_VERSION}-${KDR_DEB_RELEASE}")
string(TIMESTAMP KDR_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file("${CMAKE_SOURCE_DIR}/resources/debian/changelog.in"
               "${KDR_DOC_BUILD_DIR}/changelog.Debian.in" @ONLY)
kdr_gzip_doc("${KDR_DOC_BUILD_DIR}/changelog.Debian.in" changelog.Debian)
install(FILES "${CMAKE_SOURCE_DIR}/resources/debian/copyright"
              "${KDR_DOC_BUILD_DIR}/changelog.Debian.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${KDR_DEB_PACKAGE}")
install(FILES "${CMAKE_SOURCE_DIR}/resources/debian/lintian-overrides" RENAME ${KDR_DEB_PACKAGE}
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KDR_DEB_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brenlow AG")
set(CPACK_PACKAGE_CONTACT "${KDR_DEB_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package lands in the build folder whichever folder cpack runs in.
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}")
set(CPACK_STRIP_FILES ON)
# Independent of the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "DMX fixture library editor for the KDR-450P controller")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Edits libraries of DMX fixture definitions (.blfl files) for the KDR-450P
lighting controller: fixture and manufacturer names, fixture types and
channels, with the short names the controller's display shows. Fixture
modes can be imported from QLC+ fixture files.

Over the controller's USB link it lists, uploads, downloads and deletes the
stored definitions, clears the patch list and updates the firmware. A
simulated controller allows every operation without hardware.

The package holds the editor window (kdr450p-editor) and the command-line
tool kdr450p-tool, which shares all of its library and device code.]=])

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KDR_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KDR_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies from the binaries' libraries (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (dialog buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)

include(CPack)
