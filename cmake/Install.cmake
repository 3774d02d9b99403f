# `cmake --install` lays Brimvale Edit out for a desktop (the Debian package uses the same
# rules with the prefix /usr):
#   <prefix>/lib/brimvale-edit/       the program folder: the executables with the language,
#                                     setting and sample files beside them, where they look
#   <prefix>/bin/                     a launcher on the PATH for each program
#   <prefix>/share/applications/      the desktop entry, which opens SEEM files
#   <prefix>/share/mime/packages/     the file type of SEEM files
#   <prefix>/share/metainfo/          the software-centre entry
#   <prefix>/share/icons/hicolor/     the application icon (scalable, and 64 x 64)
#   <prefix>/share/man/man1/          the manual pages, made with help2man when it is installed
#
# Included after the programs' targets are defined, so that `if(TARGET ...)` sees them.

# Folders made while installing get the usual modes whatever the umask of the machine that builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(BVL_INSTALL_PROGRAM_DIR lib/brimvale-edit)
set(BVL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
# The day this PROJECT_VERSION was released; change it together with the version.
set(BVL_RELEASE_DATE 2026-12-07)

# Manual pages come from each program's --help and --version (packaging/<program>.h2m adds
# the sections those lack). Not in sanitized builds: they are for tests, and their leak
# check would fail the run of the program at build time.
find_program(BVL_HELP2MAN help2man)
function(bvl_manual_page program summary)
    if(NOT BVL_HELP2MAN OR BVL_SANITIZE OR BVL_FUZZ)
        return()
    endif()
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
    set(include_file ${BVL_PACKAGING_DIR}/${program}.h2m)
    # Both programs answer --help and --version before any window system is touched, so
    # the page is made on a machine without a display.
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${BVL_HELP2MAN} --no-info --name=${summary} --include=${include_file}
                --output=${page} $<TARGET_FILE:${program}>
        # Compressed as Debian wants manual pages, without a time stamp so builds repeat.
        COMMAND gzip -9nf ${page}
        DEPENDS ${program} ${include_file}
        COMMENT "Making the manual page of ${program}"
        VERBATIM)
    add_custom_target(${program}-manual-page ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION share/man/man1)
endfunction()

# A program of the program folder, with its launcher on the PATH and its manual page.
function(bvl_install_program program summary)
    install(TARGETS ${program} RUNTIME DESTINATION ${BVL_INSTALL_PROGRAM_DIR})
    install(PROGRAMS ${BVL_PACKAGING_DIR}/launcher.sh DESTINATION bin RENAME ${program})
    bvl_manual_page(${program} ${summary})
endfunction()

bvl_install_program(brimvale-edit "edit a phone's SEEM configuration records through setting files")
# The command-line front end is built on its own branch of work; installed once it exists.
if(TARGET brimvale-cli)
    bvl_install_program(brimvale-cli "show and change a phone's SEEM configuration records from the command line")
endif()

# Matched when installing, not when configuring, so data files added later need no re-run of cmake.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${BVL_INSTALL_PROGRAM_DIR}
        FILES_MATCHING PATTERN "*.sel" PATTERN "*.sec" PATTERN "*.seem")

install(FILES ${BVL_PACKAGING_DIR}/brimvale-edit.desktop DESTINATION share/applications)
install(FILES ${BVL_PACKAGING_DIR}/brimvale-edit.xml DESTINATION share/mime/packages)

configure_file(${BVL_PACKAGING_DIR}/org.example.brimvale.edit.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/org.example.brimvale.edit.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/org.example.brimvale.edit.metainfo.xml DESTINATION share/metainfo)

install(FILES ${BVL_PACKAGING_DIR}/brimvale-edit.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${BVL_PACKAGING_DIR}/brimvale-edit-64.png DESTINATION share/icons/hicolor/64x64/apps
        RENAME brimvale-edit.png)
