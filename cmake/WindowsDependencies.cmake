# What the Windows build takes in place of the Linux system's libraries
# (cmake/toolchain-mingw-*.cmake; `make windows`):
# - SQLite from its amalgamation, which scripts/fetch-sqlite-source puts
#   into build-windows/sqlite (outside git) from the source package of the
#   SQLite the Linux build links, compiled into the programs;
# - CLI11, a library of headers only, from the Linux system's copy
#   (libcli11-dev), without the rest of /usr/include;
# - GoogleTest and GoogleMock from their sources in /usr/src/googletest
#   (libgtest-dev), compiled with the cross compiler;
# - SHA-256 from Windows' own bcrypt (src/framework/Sha256DigestWin32.cpp)
#   in place of Nettle.
set(K2L_SQLITE_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build-windows/sqlite"
    CACHE PATH "Folder holding sqlite3.c and sqlite3.h (scripts/fetch-sqlite-source)")
if(NOT EXISTS "${K2L_SQLITE_SOURCE_DIR}/sqlite3.c")
  message(FATAL_ERROR "No SQLite amalgamation in ${K2L_SQLITE_SOURCE_DIR}: "
                      "run scripts/fetch-sqlite-source ${K2L_SQLITE_SOURCE_DIR}")
endif()
add_library(k2l_sqlite3 STATIC "${K2L_SQLITE_SOURCE_DIR}/sqlite3.c")
target_include_directories(k2l_sqlite3 SYSTEM PUBLIC "${K2L_SQLITE_SOURCE_DIR}")
# SQLite's own code, as its authors ship it: not held to our warnings.
target_compile_options(k2l_sqlite3 PRIVATE -w)
target_compile_definitions(k2l_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_DEFAULT_FOREIGN_KEYS=0)
add_library(SQLite::SQLite3 ALIAS k2l_sqlite3)

set(K2L_CLI11_HEADERS /usr/include/CLI)
if(NOT EXISTS "${K2L_CLI11_HEADERS}/CLI.hpp")
  message(FATAL_ERROR "CLI11's headers are not in ${K2L_CLI11_HEADERS} (scripts/install-deps)")
endif()
file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/cli11")
file(CREATE_LINK "${K2L_CLI11_HEADERS}" "${PROJECT_BINARY_DIR}/cli11/CLI" SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE "${PROJECT_BINARY_DIR}/cli11")

if(K2L_BUILD_TESTS)
  set(K2L_GOOGLETEST_SOURCE /usr/src/googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  # GoogleTest's own code is not held to our warnings either.
  get_directory_property(k2l_compile_options COMPILE_OPTIONS)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
  add_subdirectory("${K2L_GOOGLETEST_SOURCE}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "${k2l_compile_options}")
  # GoogleTest 1.11 and later name its targets so itself.
  foreach(target gtest gtest_main gmock)
    if(NOT TARGET GTest::${target})
      add_library(GTest::${target} ALIAS ${target})
    endif()
  endforeach()
endif()
