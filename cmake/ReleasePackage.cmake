# The release zip, Tarnwick-<version>.zip, as CPack's ZIP generator packs it
# from the install rules below: TWK64.exe, TWK.exe (from the nested 32-bit
# build), LICENSE and README.txt (the user's guide), all at the top of the
# zip. The two texts get Windows line endings, and the guide a UTF-8 byte
# order mark, so that Notepad on every Windows version shows the Japanese
# right. cmake/PackRelease.cmake runs CPack and checks the result.
set(TWK_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
set(TWK_RELEASE_TEXT_DIR ${TWK_RELEASE_DIR}/text)

configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${TWK_RELEASE_TEXT_DIR}/LICENSE @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/docs/user-guide.txt ${TWK_RELEASE_DIR}/user-guide.txt @ONLY)
file(READ ${TWK_RELEASE_DIR}/user-guide.txt guide)
string(REPLACE "\n" "\r\n" guide "${guide}")
string(ASCII 239 187 191 utf8_bom)
file(WRITE ${TWK_RELEASE_DIR}/user-guide-windows.txt "${utf8_bom}${guide}")
configure_file(${TWK_RELEASE_DIR}/user-guide-windows.txt ${TWK_RELEASE_TEXT_DIR}/README.txt COPYONLY)

# One install component per file: CPack's archive generators add the
# components in the order of their names and the files of one component in
# the order the file system lists its directory, which differs from one file
# system to the next. So the zip's entries come in name order everywhere.
install(TARGETS ${TWK_EXE_NAME} RUNTIME DESTINATION . COMPONENT ${TWK_EXE_NAME}.exe)
if(TWK_WITH_32BIT)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/bin/TWK.exe DESTINATION . COMPONENT TWK.exe)
endif()
install(FILES ${TWK_RELEASE_TEXT_DIR}/LICENSE DESTINATION . COMPONENT LICENSE)
install(FILES ${TWK_RELEASE_TEXT_DIR}/README.txt DESTINATION . COMPONENT README.txt)

# CPack installs without building "all" first (which would build every test
# program): whoever packs builds the two exes beforehand.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Tarnwick-${PROJECT_VERSION})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_PACKAGE_DIRECTORY ${TWK_RELEASE_DIR}/package)
set(CPACK_VERBATIM_VARIABLES ON)
set(TWK_RELEASE_ZIP ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
include(CPack)
