# Writes the installed manual page: docs/tezlo.1 with the program's version in the source field
# of its .TH line ("Tezlo" becomes "Tezlo VERSION"), compressed with gzip -9n (no name, no time,
# so the same page always compresses to the same bytes).
# cmake -DSOURCE=docs/tezlo.1 -DOUTPUT=tezlo.1.gz -DVERSION=X.Y.Z -P man_page.cmake
file(READ "${SOURCE}" page)
string(REGEX REPLACE "(\n\\.TH [A-Z]+ 1 [^ \n]+ )Tezlo " "\\1\"Tezlo ${VERSION}\" " stamped "${page}")
if(stamped STREQUAL page)
  message(FATAL_ERROR "${SOURCE}: no line \".TH NAME 1 DATE Tezlo ...\" to put the version in")
endif()
get_filename_component(folder "${OUTPUT}" DIRECTORY)
get_filename_component(name "${SOURCE}" NAME)
file(WRITE "${folder}/${name}" "${stamped}")
execute_process(COMMAND gzip -9n -c "${folder}/${name}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE failed)
if(failed)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "gzip could not compress ${folder}/${name}")
endif()
