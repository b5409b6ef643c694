# A headless render loads no library it does not use: runs zorvaxp-render on an example form with
# the dynamic loader reporting every library it looks for, and fails if SDL2, libxlsxwriter,
# libjpeg or the crypto library is among them.
#   cmake -DRENDER=<zorvaxp-render> -DFORM=<form file> -DOUT=<png> -P HeadlessLibraries.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_DEBUG=libs ${RENDER} ${FORM} --out ${OUT}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the renderer failed (${result}): ${err}")
endif()
string(REGEX MATCHALL "find library=[^;\n]+" looked "${out}${err}")
if(NOT looked)
  message(FATAL_ERROR "the loader reported no library: LD_DEBUG is not working here")
endif()
foreach(line IN LISTS looked)
  if(line MATCHES "libSDL2|libxlsxwriter|libjpeg|libcrypto")
    message(FATAL_ERROR "a headless render loaded a library it does not use: ${line}")
  endif()
endforeach()
