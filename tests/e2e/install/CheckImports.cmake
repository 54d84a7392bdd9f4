# The program imports at load time only DLLs that Windows loads from the system folder alone,
# its "known DLLs": any other it would look for in the program's folder first, where a
# downloaded file may lie.   cmake -DPROGRAM=… -DOBJDUMP=… -P CheckImports.cmake
cmake_policy(VERSION 3.20)
set(known ADVAPI32 COMBASE COMDLG32 GDI32 GDIPLUS IMAGEHLP IMM32 KERNEL32 MSCTF MSVCRT NORMALIZ
    NSI OLE32 OLEAUT32 PSAPI RPCRT4 SECHOST SETUPAPI SHCORE SHELL32 SHLWAPI USER32 WLDAP32 WS2_32)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${headers}")
set(imports "")
set(unknown "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: ([^.]+)\\.[a-zA-Z]+" "\\1" name "${line}")
  string(TOUPPER "${name}" name)
  list(APPEND imports ${name})
  if(NOT name IN_LIST known)
    list(APPEND unknown "${line}")
  endif()
endforeach()
if(failed OR NOT KERNEL32 IN_LIST imports OR unknown)
  message(FATAL_ERROR "${PROGRAM} imports ${imports}; not known to Windows: ${unknown}")
endif()
