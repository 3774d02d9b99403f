# Copies the shipped language, setting and sample files into the program folder.
# Run at build time with -DSOURCE_DIR=... -DDEST_DIR=...
file(GLOB data_files "${SOURCE_DIR}/*.sel" "${SOURCE_DIR}/*.sec" "${SOURCE_DIR}/*.seem")
file(MAKE_DIRECTORY "${DEST_DIR}")
foreach(f ${data_files})
    file(COPY "${f}" DESTINATION "${DEST_DIR}")
endforeach()
