# The Windows build of the same tree: the portable libraries, the Excel adapter, the Windows side
# of System and the COM add-in DLL, plus the test program that drives the DLL under Wine.
# Included by the top-level CMakeLists.txt when cross-compiling with cmake/mingw-*.cmake.

enable_language(C RC)
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

# The portable libraries the add-in is made of (the front ends for Linux and the file layer are
# not part of it).
foreach(folder host text memory dispatch scripted topics blocks tools)
  add_subdirectory(src/${folder})
endforeach()
add_library(tezlo_all_tools STATIC ${PROJECT_SOURCE_DIR}/src/app/all_tools.cpp)
target_link_libraries(tezlo_all_tools PUBLIC tezlo_dispatch tezlo_blocks tezlo_topics tezlo_tools)

add_subdirectory(src/com)
add_subdirectory(src/system/windows)
add_subdirectory(src/excel)
add_subdirectory(src/shell)

if(TEZLO_TESTS)
  enable_testing()
  add_subdirectory(tests/windows)
endif()
