# regsvr32 /s zorvaxp.dll, check; regsvr32 /s /u zorvaxp.dll, check (cmake/WindowsTests.cmake).
# The DLL's path is given to the check in the platform's form, as regsvr32 registers it.
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${WINE_ENV} winepath -w ${DLL}
                OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR dll_path STREQUAL "")
  message(FATAL_ERROR "winepath could not name ${DLL}")
endif()
foreach(mode registered unregistered)
  set(flag "")
  if(mode STREQUAL "unregistered")
    set(flag /u)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${WINE_ENV} wine regsvr32 /s ${flag} ${DLL} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "regsvr32 /s ${flag} failed (${rc})")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${WINE_ENV} wine ${CHECK} ${mode} ${dll_path}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  message("${out}${err}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the registry after regsvr32 ${flag} differs (${rc})")
  endif()
endforeach()
