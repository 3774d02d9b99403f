# `make package` (cpack -G DEB in a build folder) makes the Debian package of Brimvale Edit
# from the install rules of Install.cmake, with the prefix /usr. packaging/check-package.sh
# then checks it.

# What Debian wants in /usr/share/doc/<package>/: the copyright file and, this being a
# native package, the changelog, compressed without a time stamp.
set(BVL_DOC_DIR share/doc/brimvale-edit)
execute_process(COMMAND date -u -R -d ${BVL_RELEASE_DATE}
                OUTPUT_VARIABLE BVL_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${BVL_PACKAGING_DIR}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(bvl_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${BVL_PACKAGING_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${BVL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brimvale-edit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Brimvale Edit developers")
set(CPACK_PACKAGE_CONTACT "The Brimvale Edit developers <brimvale-edit@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the SEEM configuration records of phones")
# Lines of the description stay within 80 columns, as Debian asks.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Brimvale Edit edits SEEM files: byte images of a phone's numbered"
    "configuration records. Binary setting files say what the bytes mean: check"
    "boxes and value lists over bits of a byte, 8-bit numbers, and fixed-size"
    "strings. The editor picks the matching setting file from the SEEM file's"
    "name, shows the settings as a group tree with one control per setting, and"
    "writes edits back in place, touching only the bits each setting owns. A"
    "second window authors setting files.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://brimvale.example.org/")
# The libraries the executables link (Qt, the C++ runtime) decide the dependencies, and
# Qt's own translations come along so that its buttons and dialogs follow the language.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)

include(CPack)
