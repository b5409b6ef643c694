# regsvr32 /s zorvaxp.dll, then a client of the platform's component runtime (CLIENT, with its
# arguments in ARGS, a ;-list, and SCRIPT, a file named to the client in the platform's form),
# then regsvr32 /s /u (cmake/WindowsTests.cmake). The test fails when registration fails, the
# client exits with anything but 0, or its output lacks EXPECT (when given).
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${WINE_ENV} wine regsvr32 /s ${DLL} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "regsvr32 /s failed (${rc})")
endif()
if(SCRIPT)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${WINE_ENV} winepath -w ${SCRIPT}
                  OUTPUT_VARIABLE script_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  list(APPEND ARGS ${script_path})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${WINE_ENV} wine ${CLIENT} ${ARGS}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE client_rc)
message("${out}${err}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${WINE_ENV} wine regsvr32 /s /u ${DLL} RESULT_VARIABLE rc)
if(NOT client_rc EQUAL 0)
  message(FATAL_ERROR "${CLIENT} failed (${client_rc})")
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "regsvr32 /s /u failed (${rc})")
endif()
if(EXPECT AND NOT "${out}${err}" MATCHES "${EXPECT}")
  message(FATAL_ERROR "${CLIENT} did not say \"${EXPECT}\"")
endif()
