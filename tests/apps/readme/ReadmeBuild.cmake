# Builds and runs the README's example the way the README tells a reader to: its ```cpp block
# becomes hello.cpp and its build line (the first ```sh block after the example) runs as it stands
# with `sh`, from a scratch folder laid out as the repository's root (its entries linked there)
# whose `build` is this build folder. Then ./hello runs headless and must exit 0. The same line
# then builds every_class.cc, a program that uses every part of the library, so that a library
# the line leaves out fails the link even where the example needs none of it. Any failure stops
# with an error saying which step failed and what it printed.
#   cmake -DSOURCE_DIR=<repo> -DBUILD_DIR=<build> -DWORK_DIR=<scratch> -P ReadmeBuild.cmake
function(fail what)
  message(FATAL_ERROR "README build line: ${what}")
endfunction()

# The first fenced block opened by `fence` in `text`: its body, and the text after it.
function(take_block text fence missing body_var rest_var)
  string(FIND "${text}" "${fence}\n" begin)
  if(begin LESS 0)
    fail("${missing}")
  endif()
  string(LENGTH "${fence}\n" skip)
  math(EXPR begin "${begin} + ${skip}")
  string(SUBSTRING "${text}" ${begin} -1 rest)
  string(FIND "${rest}" "```" end)
  string(SUBSTRING "${rest}" 0 ${end} body)
  string(SUBSTRING "${rest}" ${end} -1 rest)
  set(${body_var} "${body}" PARENT_SCOPE)
  set(${rest_var} "${rest}" PARENT_SCOPE)
endfunction()

file(READ ${SOURCE_DIR}/README.md readme)
take_block("${readme}" "```cpp" "README.md has no ```cpp example" example rest)
take_block("${rest}" "```sh" "no ```sh block after the example" command rest)
if(NOT command MATCHES "hello\\.cpp" OR NOT command MATCHES "-o hello")
  fail("the ```sh block after the example does not build hello.cpp into hello:\n${command}")
endif()

# Builds `program` as hello.cpp with the README's line in WORK_DIR/<name> and runs ./hello there
# (with that folder as its one argument).
function(build_and_run name program)
  set(dir ${WORK_DIR}/${name})
  file(MAKE_DIRECTORY ${dir})
  file(GLOB entries RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
  foreach(entry ${entries})
    if(NOT entry STREQUAL "build")
      file(CREATE_LINK ${SOURCE_DIR}/${entry} ${dir}/${entry} SYMBOLIC)
    endif()
  endforeach()
  file(CREATE_LINK ${BUILD_DIR} ${dir}/build SYMBOLIC)
  file(WRITE ${dir}/hello.cpp "${program}")
  message(STATUS "${name}, from ${dir}:\n${command}")
  execute_process(COMMAND sh -e -c "${command}" WORKING_DIRECTORY ${dir}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("${name}: the build failed (${rc}):\n${command}\n${out}\n${err}")
  endif()
  set(ENV{SDL_VIDEODRIVER} dummy)
  execute_process(COMMAND ${dir}/hello ${dir} WORKING_DIRECTORY ${dir} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err TIMEOUT 120)
  if(NOT rc EQUAL 0)
    fail("${name}: ./hello exited with ${rc}:\n${out}\n${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
build_and_run(example "${example}")
file(READ ${CMAKE_CURRENT_LIST_DIR}/every_class.cc every_class)
build_and_run(every-class "${every_class}")
message(STATUS "the README's line built and ran the example and a program using every part of the library")
