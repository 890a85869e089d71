# LibreOffice's C++ SDK (Debian's libreoffice-dev): the UNO runtime headers and libraries, and the
# C++ headers of the office's API types, generated at build time by the SDK's cppumaker from the
# installed office's type libraries. Defines TEZLO_LIBREOFFICE_SDK_FOUND and, when found, the
# interface target tezlo_uno that a library links to use the API.

set(TEZLO_LIBREOFFICE_SDK_FOUND OFF)

find_path(TEZLO_LO_SDK_DIR NAMES include/sal/config.h bin/cppumaker
          PATHS /usr/lib/libreoffice/sdk NO_DEFAULT_PATH)
find_program(TEZLO_LO_CPPUMAKER cppumaker PATHS ${TEZLO_LO_SDK_DIR}/bin NO_DEFAULT_PATH)
find_path(TEZLO_LO_PROGRAM_DIR NAMES types.rdb types/offapi.rdb
          PATHS /usr/lib/libreoffice/program NO_DEFAULT_PATH)
if(NOT TEZLO_LO_SDK_DIR OR NOT TEZLO_LO_CPPUMAKER OR NOT TEZLO_LO_PROGRAM_DIR)
  message(STATUS "LibreOffice SDK not found: the Calc adapter is not built")
  return()
endif()

set(uno_libraries)
foreach(name uno_cppu uno_cppuhelpergcc3 uno_sal uno_salhelpergcc3)
  find_library(TEZLO_LO_${name} ${name} PATHS ${TEZLO_LO_SDK_DIR}/lib NO_DEFAULT_PATH)
  if(NOT TEZLO_LO_${name})
    message(STATUS "LibreOffice SDK library ${name} not found: the Calc adapter is not built")
    return()
  endif()
  list(APPEND uno_libraries ${TEZLO_LO_${name}})
endforeach()
set(TEZLO_LIBREOFFICE_SDK_FOUND ON)

# The whole office API (the UNO base types and offapi) takes a few seconds and some 6,000 headers;
# generating only a chosen list of types would have to follow every dependency by hand.
set(TEZLO_LO_TYPES ${TEZLO_LO_PROGRAM_DIR}/types.rdb ${TEZLO_LO_PROGRAM_DIR}/types/offapi.rdb)
set(TEZLO_UNO_HEADERS ${CMAKE_BINARY_DIR}/uno_headers)
set(stamp ${TEZLO_UNO_HEADERS}/generated.stamp)
add_custom_command(
  OUTPUT ${stamp}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TEZLO_UNO_HEADERS}
  COMMAND ${TEZLO_LO_CPPUMAKER} -Gc -O${TEZLO_UNO_HEADERS} ${TEZLO_LO_TYPES}
  COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
  DEPENDS ${TEZLO_LO_TYPES}
  COMMENT "Generating the C++ headers of LibreOffice's API types"
  VERBATIM)
add_custom_target(tezlo_uno_headers DEPENDS ${stamp})

add_library(tezlo_uno INTERFACE)
add_dependencies(tezlo_uno tezlo_uno_headers)
# SYSTEM: the SDK's headers are not ours to keep free of warnings.
target_include_directories(tezlo_uno SYSTEM INTERFACE ${TEZLO_LO_SDK_DIR}/include ${TEZLO_UNO_HEADERS})
# The SDK's settings for Linux with GCC (settings/settings.mk): the platform and the C++ bridge.
target_compile_definitions(tezlo_uno INTERFACE UNX GCC LINUX CPPU_ENV=gcc3)
target_link_libraries(tezlo_uno INTERFACE ${uno_libraries})
# LibreOffice's C++ bridge builds the virtual tables of its remote proxies at run time, without
# type information, so UBSan's dynamic type check cannot follow a call through an interface of
# the office's; code using the API goes without that one check (every other check stays).
if(TEZLO_SANITIZE)
  target_compile_options(tezlo_uno INTERFACE -fno-sanitize=vptr)
endif()
# The runtime libraries live in the office's program folder.
target_link_options(tezlo_uno INTERFACE "LINKER:-rpath,${TEZLO_LO_PROGRAM_DIR}")
set(TEZLO_LO_PROGRAM_DIR ${TEZLO_LO_PROGRAM_DIR} CACHE INTERNAL "")
