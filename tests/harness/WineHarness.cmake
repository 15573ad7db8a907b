# Runs every test program under Wine (64-bit) in a prefix inside the build
# tree, with its own Xvfb display and a persistent wineserver. The prefix is
# made on first use; the cleanup test at the end of a ctest run ends the
# wineserver and the display, so that no Wine process is left running.
set(TWK_HARNESS_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TWK_WINE_ROOT ${CMAKE_BINARY_DIR}/wine)
configure_file(${TWK_HARNESS_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# Wine tools and shell commands for tests that run outside a test program.
function(twk_add_wine_cleanup_test)
  add_test(NAME wine.stop COMMAND ${TWK_HARNESS_DIR}/wine-stop.sh ${TWK_WINE_ROOT})
  set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
endfunction()
