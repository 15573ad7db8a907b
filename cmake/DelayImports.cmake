# System DLLs loaded on first use instead of at start.
#
# The command-line mode needs kernel32, user32, gdi32, advapi32 and msvcrt
# to show its window. shell32, comctl32, ole32 and oleaut32 serve only the
# settings mode and the elevated relaunch, and loading them (with what they
# load in turn) delays the first window. Each of them is therefore linked
# through a delay-import library: the DLL is loaded when one of its
# functions is called for the first time (mingw-w64's __delayLoadHelper2).
#
# The delay-import library is made at configure time from the toolchain's
# own import library: every function it lists goes into a module definition,
# and dlltool --output-delaylib builds the library from that. So any function
# of these DLLs that the code calls is delay-loaded, without a list to keep.
#
# Link the targets twk_delay_<dll> (for example twk_delay_shell32) instead of
# the plain names (shell32): a plain name ahead of them on the link line
# would import the DLL at start again. tests/build checks the exes' imports.

function(twk_add_delay_import dll)
  set(target twk_delay_${dll})
  if(TARGET ${target})
    return()
  endif()
  find_library(TWK_IMPORT_LIBRARY_${dll} NAMES ${dll} REQUIRED NO_CACHE)
  set(import_library ${TWK_IMPORT_LIBRARY_${dll}})
  set(directory ${CMAKE_BINARY_DIR}/delay-imports)
  set(definition ${directory}/${dll}.def)
  set(delay_library ${directory}/libdelay_${dll}.a)

  if(NOT EXISTS ${delay_library} OR ${import_library} IS_NEWER_THAN ${delay_library}
     OR ${CMAKE_CURRENT_FUNCTION_LIST_FILE} IS_NEWER_THAN ${delay_library})
    execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${import_library}
      OUTPUT_VARIABLE symbols ERROR_QUIET RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${CMAKE_NM} cannot read ${import_library}")
    endif()
    # The functions are the text symbols; 32-bit names carry a leading
    # underscore (and @<bytes> for stdcall), which --kill-at handles.
    string(REGEX MATCHALL " T [^\r\n]+" functions "${symbols}")
    list(REMOVE_DUPLICATES functions)
    set(exports "")
    foreach(function IN LISTS functions)
      string(REGEX REPLACE "^ T " "" name "${function}")
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(REGEX REPLACE "^_" "" name "${name}")
      endif()
      string(APPEND exports "  ${name}\n")
    endforeach()
    if(exports STREQUAL "")
      message(FATAL_ERROR "no functions found in ${import_library}")
    endif()
    file(WRITE ${definition} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${definition}
      --output-delaylib ${delay_library} --dllname ${dll}.dll
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${CMAKE_DLLTOOL} could not build ${delay_library}")
    endif()
  endif()

  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${delay_library})
endfunction()

foreach(dll IN ITEMS shell32 comctl32 ole32 oleaut32)
  twk_add_delay_import(${dll})
endforeach()
