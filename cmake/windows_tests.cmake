# Tests of the Windows build: GoogleTest from Debian's sources, every test under Wine, and one
# fixture that gives all of them a fresh prefix and a single persistent wineserver. Without the
# shared server each test pays about 3 s: a server started by a test holds its output pipe open.

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(MORVANE_WINE_TOOLS ${PROJECT_SOURCE_DIR}/tools/wine)
set(MORVANE_WINE_DIR ${CMAKE_BINARY_DIR}/wine)

function(morvane_add_wine_fixture)
  add_test(NAME wine.start COMMAND bash ${MORVANE_WINE_TOOLS}/server-start.sh)
  add_test(NAME wine.stop COMMAND bash ${MORVANE_WINE_TOOLS}/server-stop.sh)
  set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
  set_tests_properties(wine.start wine.stop PROPERTIES
    ENVIRONMENT "MORVANE_WINE_DIR=${MORVANE_WINE_DIR}")
endfunction()

# One CTest test per GoogleTest case, found in the sources: listing them by running the program
# would need Wine before the fixture has made its prefix. Further arguments are more test
# properties.
function(morvane_add_wine_gtests target)
  gtest_add_tests(TARGET ${target} TEST_LIST tests)
  set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED wine
    ENVIRONMENT "MORVANE_WINE_DIR=${MORVANE_WINE_DIR}" ${ARGN})
endfunction()
