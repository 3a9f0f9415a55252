# cmake -DSOURCE=<file> -DDESTINATION=<file> -P copy_if_absent.cmake
# The program folder's log database may hold an operator's contacts: only a missing one is put there.
if(NOT EXISTS "${DESTINATION}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
