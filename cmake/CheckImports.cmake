cmake_policy(SET CMP0057 NEW)
# Fails the build when an exe imports anything but Windows system DLLs (for
# example libstdc++-6.dll or libwinpthread-1.dll after a non-static link).
# EXTRA_DLLS names further system DLLs that this exe alone may import
# (VDMDBG.dll for TWK.exe).
# Usage: cmake -DOBJDUMP=<objdump> -DEXE=<exe> [-DEXTRA_DLLS=<a;b>] -P CheckImports.cmake
set(system_dlls
  KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll ole32.dll
  OLEAUT32.dll COMCTL32.dll msvcrt.dll ${EXTRA_DLLS})
string(TOLOWER "${system_dlls}" allowed)

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE ${EXE})
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(imports "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  list(APPEND imports ${dll})
  string(TOLOWER "${dll}" dll_lower)
  if(NOT dll_lower IN_LIST allowed)
    file(REMOVE ${EXE})
    message(FATAL_ERROR "${EXE} imports ${dll}, which is not a Windows system DLL")
  endif()
endforeach()
message(STATUS "${EXE} imports: ${imports}")
