# `cmake --install` lays Brimvale Edit out for a desktop:
#   <prefix>/lib/brimvale-edit/       the program folder: the executable with the language,
#                                     setting and sample files beside it, where it looks
#   <prefix>/bin/brimvale-edit        a launcher on the PATH that starts the program there
#   <prefix>/share/applications/      the desktop entry
#   <prefix>/share/icons/hicolor/     the application icon (scalable, and 64 x 64)

set(BVL_INSTALL_PROGRAM_DIR lib/brimvale-edit)
set(BVL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS brimvale-edit RUNTIME DESTINATION ${BVL_INSTALL_PROGRAM_DIR})

# Matched when installing, not when configuring, so data files added later need no re-run of cmake.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${BVL_INSTALL_PROGRAM_DIR}
        FILES_MATCHING PATTERN "*.sel" PATTERN "*.sec" PATTERN "*.seem")

install(PROGRAMS ${BVL_PACKAGING_DIR}/brimvale-edit.sh DESTINATION bin RENAME brimvale-edit)

install(FILES ${BVL_PACKAGING_DIR}/brimvale-edit.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${BVL_PACKAGING_DIR}/brimvale-edit-64.png DESTINATION share/icons/hicolor/64x64/apps
        RENAME brimvale-edit.png)

# The desktop entry names the launcher by its full path, so a prefix that is not on the
# PATH still works; the prefix is only known when installing (--prefix may change it).
install(CODE "
    set(BVL_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/bin/brimvale-edit\")
    configure_file(\"${BVL_PACKAGING_DIR}/brimvale-edit.desktop.in\"
                   \"${CMAKE_BINARY_DIR}/packaging/brimvale-edit.desktop\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE
         FILES \"${CMAKE_BINARY_DIR}/packaging/brimvale-edit.desktop\")
")
