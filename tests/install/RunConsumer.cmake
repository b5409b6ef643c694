# Installs the build at BUILD_DIR into WORK_DIR/prefix, then builds the consumer project in
# SOURCE_DIR/consumer with find_package(ZorvaXP), compiled with EXTRA_FLAGS (the sanitizers of a
# sanitized build), and the same source with the flags the installed zorvaxp.pc gives (which
# carry those sanitizers themselves), and runs both programs. Any failure stops with an error.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(LAST_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(f include/zorvaxp/zorvaxp_com.h include/zorvaxp/buttons/ZorvaXPButton.h lib/libzorvaxp.a lib/libzorvaxp.so
          lib/cmake/ZorvaXP/ZorvaXPConfig.cmake lib/pkgconfig/zorvaxp.pc bin/zorvaxp-render bin/zorvaxp-regedit
          lib/zorvaxp/__init__.py)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# The Python package beside the installed library finds that library (PYTHON: an interpreter,
# given for builds without sanitizers).
if(PYTHON)
  set(ENV{PYTHONPATH} ${prefix}/lib)
  set(ENV{PYTHONDONTWRITEBYTECODE} 1)
  set(ENV{ZORVAXP_LIBRARY} "")
  file(WRITE ${WORK_DIR}/python-consumer.py
       "import zorvaxp as zx\nprint(zx.LIBRARY)\nzx.CreateObject('clsLItem')\nprint('python ok')\n")
  run(${PYTHON} ${WORK_DIR}/python-consumer.py)
  string(FIND "${LAST_OUTPUT}" "${prefix}/lib/libzorvaxp.so\npython ok" at)
  if(NOT at EQUAL 0)
    message(FATAL_ERROR "the installed Python package said: ${LAST_OUTPUT}")
  endif()
endif()

# find_package
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/consumer -B ${WORK_DIR}/cmake -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake)
run(${WORK_DIR}/cmake/consumer)
if(NOT LAST_OUTPUT MATCHES "consumer ok")
  message(FATAL_ERROR "find_package consumer said: ${LAST_OUTPUT}")
endif()

# pkg-config: the static library and every library it needs, from the installed zorvaxp.pc alone
# (no build-tree file may be seen).
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
run(pkg-config --cflags --libs zorvaxp)
string(STRIP "${LAST_OUTPUT}" flags)
if(NOT flags MATCHES "/lib/libzorvaxp\\.a" OR NOT flags MATCHES "-lxlsxwriter")
  message(FATAL_ERROR "pkg-config zorvaxp said: ${flags}")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(c++ -std=c++20 ${SOURCE_DIR}/consumer/main.cc ${flags} -o ${WORK_DIR}/pkgconfig-consumer)
run(${WORK_DIR}/pkgconfig-consumer)
if(NOT LAST_OUTPUT MATCHES "consumer ok")
  message(FATAL_ERROR "pkg-config consumer said: ${LAST_OUTPUT}")
endif()
message(STATUS "both consumers ok")
