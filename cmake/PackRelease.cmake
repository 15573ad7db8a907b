# Packs the release zip with CPack from a configured and built tree, unpacks
# it, and checks what a Windows user gets: exactly TWK.exe, TWK64.exe, LICENSE
# and README.txt, the texts with Windows line endings (the guide also with a
# UTF-8 byte order mark), and no build path in the exes. Fails, leaving no
# zip behind, when anything is wrong.
#
# Usage: cmake -DBUILD_DIR=<tree> -DSOURCE_DIR=<checkout> -DZIP=<zip CPack
#              writes> -DUNPACK_DIR=<folder> -P PackRelease.cmake
#
# The zip's file times are SOURCE_DATE_EPOCH when it is set, else the time of
# the checkout's last commit; file times in a zip are local times, so TZ is
# UTC here. With the same exes the zip is then the same, byte for byte,
# whoever packs it where and when.
foreach(var BUILD_DIR SOURCE_DIR ZIP UNPACK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "PackRelease.cmake needs -D${var}=...")
  endif()
endforeach()

function(fail message)
  file(REMOVE ${ZIP})
  message(FATAL_ERROR "${message}")
endfunction()

set(ENV{TZ} UTC)
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc ERROR_QUIET)
  if(rc EQUAL 0 AND epoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  endif()
endif()

# A zip also records each file's owner (user and group ids): under fakeroot
# the files CPack stages belong to root, whoever packs.
find_program(FAKEROOT fakeroot)
if(NOT FAKEROOT)
  message(WARNING "fakeroot not found: the zip records the ids of the user who packs it")
  set(FAKEROOT "")
endif()

get_filename_component(package_dir ${ZIP} DIRECTORY)
file(REMOVE_RECURSE ${package_dir})
execute_process(COMMAND ${FAKEROOT} ${CMAKE_CPACK_COMMAND} --config ${BUILD_DIR}/CPackConfig.cmake
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT EXISTS ${ZIP})
  fail("CPack failed:\n${out}")
endif()

# The entries, in the zip's own order: sorted by name, so that the order
# does not depend on the file system.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ZIP}
  RESULT_VARIABLE rc OUTPUT_VARIABLE listing ERROR_VARIABLE listing)
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" entries "${listing}")
set(expected LICENSE README.txt TWK.exe TWK64.exe)
if(NOT rc EQUAL 0 OR NOT entries STREQUAL expected)
  fail("${ZIP} holds \"${entries}\"; expected \"${expected}\"")
endif()

file(REMOVE_RECURSE ${UNPACK_DIR})
file(MAKE_DIRECTORY ${UNPACK_DIR})
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${UNPACK_DIR})

# Line ends are checked on the bytes: file(READ) as text drops carriage
# returns.
foreach(text LICENSE README.txt)
  file(READ ${UNPACK_DIR}/${text} hex HEX)
  string(REGEX REPLACE "(..)" " \\1" bytes "${hex}")
  string(REPLACE " 0d 0a" "" bytes_without_crlf "${bytes}")
  if(bytes_without_crlf MATCHES " (0d|0a)" OR NOT bytes MATCHES " 0d 0a$")
    fail("${text} in the zip does not have Windows line endings throughout")
  endif()
endforeach()
file(READ ${UNPACK_DIR}/README.txt bom LIMIT 3 HEX)
if(NOT bom STREQUAL "efbbbf")
  fail("README.txt in the zip does not start with a UTF-8 byte order mark")
endif()
file(READ ${UNPACK_DIR}/README.txt guide)
if(guide MATCHES "@[A-Za-z_]+@")
  fail("README.txt in the zip has a placeholder left: ${CMAKE_MATCH_0}")
endif()

foreach(exe TWK.exe TWK64.exe)
  foreach(path ${SOURCE_DIR} ${BUILD_DIR})
    string(REGEX REPLACE "([.+*?()^$|])" "\\\\\\1" path_pattern "${path}")
    file(STRINGS ${UNPACK_DIR}/${exe} found REGEX "${path_pattern}")
    if(found)
      fail("${exe} in the zip names the build path ${path}: ${found}")
    endif()
  endforeach()
endforeach()

file(SHA256 ${ZIP} sum)
message(STATUS "${ZIP}: ${sum}")
