# Copies VON to NACH only when NACH is missing: the file beside the program
# holds the user's caller list and free list; a newer phone database reaches
# it by the program's own refresh of the shipped tables, never by a copy.
if(NOT EXISTS "${NACH}")
  file(COPY_FILE "${VON}" "${NACH}")
endif()
