# The Windows test program, zorvaxp-tests.exe, run under Wine by ctest (included by
# cmake/Windows.cmake). It holds the GoogleTest tests of the platform layer, foundation/, every
# control family, the component surface and the example forms; the tests it leaves out, and why,
# are listed in docs/ARCHITECTURE.md.
enable_testing()
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB_RECURSE ZXP_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/platform/*.cpp
     ${CMAKE_SOURCE_DIR}/tests/foundation/*.cpp ${CMAKE_SOURCE_DIR}/tests/text/*.cpp
     ${CMAKE_SOURCE_DIR}/tests/buttons/*.cpp ${CMAKE_SOURCE_DIR}/tests/range/*.cpp
     ${CMAKE_SOURCE_DIR}/tests/bars/*.cpp ${CMAKE_SOURCE_DIR}/tests/dates/*.cpp
     ${CMAKE_SOURCE_DIR}/tests/list/*.cpp ${CMAKE_SOURCE_DIR}/tests/formskin/*.cpp
     ${CMAKE_SOURCE_DIR}/tests/library/*.cpp ${CMAKE_SOURCE_DIR}/tests/examples/*.cpp)
# Left out (docs/ARCHITECTURE.md, "On Windows", says why).
set(ZXP_WIN_TESTS_LEFT_OUT
  platform/ui/SdlBackendTest.cpp              # calls SDL2 itself
  platform/services/ServicesTest.cpp          # calls SDL2 itself
  platform/services/FileIoTest.cpp            # FIFOs and symbolic links
  platform/services/FileServicesTest.cpp      # FIFOs and symbolic links
  foundation/GZorvaTest.cpp                   # checks MD5 against OpenSSL's
  foundation/clsFileSystemObjTest.cpp         # Linux's file owners and permissions (setfsuid)
)
foreach(f ${ZXP_WIN_TESTS_LEFT_OUT})
  list(REMOVE_ITEM ZXP_WIN_TEST_SOURCES ${CMAKE_SOURCE_DIR}/tests/${f})
endforeach()
add_executable(zorvaxp-tests ${ZXP_WIN_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/windows/UnixProgram.cpp)
target_compile_options(zorvaxp-tests PRIVATE ${ZXP_WARNINGS} "SHELL:-include ${CMAKE_SOURCE_DIR}/src/platform/base/PosixWin32.h"
                       "SHELL:-include ${CMAKE_SOURCE_DIR}/tests/windows/TestPosixWin32.h")
target_include_directories(zorvaxp-tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/apps)
target_include_directories(zorvaxp-tests SYSTEM PRIVATE ${ZXP_WIN_DEPS}/include/headers ${ZXP_WIN_DEPS}/include)
target_link_libraries(zorvaxp-tests PRIVATE zorvaxp gtest gmock gtest_main)
target_link_options(zorvaxp-tests PRIVATE ${ZXP_WIN_STATIC_RUNTIME})
target_compile_definitions(zorvaxp-tests PRIVATE ZXP_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# Wine's prefix (cmake/Windows.cmake): the first test brings it up to date (wineboot), the others use it.
add_test(NAME WinePrefix COMMAND ${CMAKE_COMMAND} -E env ${ZXP_WINE_ENV} wineboot -i)
set_tests_properties(WinePrefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 600)
# Left out of the run: the lazy-loading tests that name Linux libraries (libz.so.1, libc.so.6), and
# a test whose read-only file the platform will not let its temporary folder's clean-up remove.
set(ZXP_WIN_TESTS_NOT_RUN
  LazyLibrary.AskingWhetherALibraryIsLoadedDoesNotLoadIt LazyLibrary.FunctionsAnswerAsTheRealOnesOnceOpened
  TextBox.AFailedSaveLeavesTheOldFileWhole)
list(JOIN ZXP_WIN_TESTS_NOT_RUN ":" ZXP_WIN_TESTS_NOT_RUN)
add_test(NAME WindowsTests COMMAND ${CMAKE_COMMAND} -E env ${ZXP_WINE_ENV} wine $<TARGET_FILE:zorvaxp-tests>
         --gtest_brief=1 --gtest_filter=-${ZXP_WIN_TESTS_NOT_RUN})
set_tests_properties(WindowsTests PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 1200)

# regsvr32 registers and unregisters zorvaxp.dll in the platform's registry; after each, the
# check program compares the registry with what the server's registration writes.
add_executable(zorvaxp-registry-check ${CMAKE_SOURCE_DIR}/tests/windows/RegistryCheck.cpp)
target_compile_options(zorvaxp-registry-check PRIVATE ${ZXP_WARNINGS})
target_link_libraries(zorvaxp-registry-check PRIVATE zorvaxp)
target_link_options(zorvaxp-registry-check PRIVATE ${ZXP_WIN_STATIC_RUNTIME})
add_test(NAME RegisterServer
         COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:zorvaxp_shared> -DCHECK=$<TARGET_FILE:zorvaxp-registry-check>
                 "-DWINE_ENV=${ZXP_WINE_ENV}" -P ${CMAKE_SOURCE_DIR}/tests/windows/RegisterServer.cmake)
set_tests_properties(RegisterServer PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)

# Clients of the platform's own component runtime, each run while the server is registered:
# a C program built with the platform's headers only, and a script run by the platform's script
# host. Each exits with its number of failed checks.
add_executable(zorvaxp-com-client ${CMAKE_SOURCE_DIR}/tests/windows/ComClient.c)
target_compile_options(zorvaxp-com-client PRIVATE -Wall -Wextra)
target_include_directories(zorvaxp-com-client PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(zorvaxp-com-client PRIVATE ole32 oleaut32 uuid)
target_link_options(zorvaxp-com-client PRIVATE ${ZXP_WIN_STATIC_RUNTIME})
add_test(NAME ComponentRuntimeClient
         COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:zorvaxp_shared> -DCLIENT=$<TARGET_FILE:zorvaxp-com-client>
                 "-DWINE_ENV=${ZXP_WINE_ENV}" -P ${CMAKE_SOURCE_DIR}/tests/windows/RunRegistered.cmake)
# The script host's exit code does not carry WScript.Quit's under Wine: the script's last line
# says whether every check held.
add_test(NAME ScriptHost
         COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:zorvaxp_shared> -DCLIENT=cscript "-DARGS=//nologo"
                 -DSCRIPT=${CMAKE_SOURCE_DIR}/tests/windows/Scripting.vbs
                 "-DEXPECT=the script host created and drove the library's classes"
                 "-DWINE_ENV=${ZXP_WINE_ENV}" -P ${CMAKE_SOURCE_DIR}/tests/windows/RunRegistered.cmake)
# The three share the registry of one prefix: one at a time.
set_tests_properties(RegisterServer ComponentRuntimeClient ScriptHost PROPERTIES
                     FIXTURES_REQUIRED wine RESOURCE_LOCK registry TIMEOUT 300)

# The renderer draws the example forms under Wine as on Linux: the same picture as the Linux
# build's zorvaxp-render (ZXP_LINUX_RENDER, the Linux build of `make test` by default).
set(ZXP_LINUX_RENDER ${CMAKE_SOURCE_DIR}/build/apps/zorvaxp-render CACHE FILEPATH "The Linux build's renderer")
file(GLOB ZXP_EXAMPLE_FORMS ${CMAKE_SOURCE_DIR}/examples/*.zxf)
foreach(form ${ZXP_EXAMPLE_FORMS})
  get_filename_component(name ${form} NAME_WE)
  add_test(NAME RenderSame.${name}
           COMMAND ${CMAKE_COMMAND} -DRENDER=$<TARGET_FILE:zorvaxp-render> -DLINUX_RENDER=${ZXP_LINUX_RENDER}
                   -DFORM=${form} -DOUT_DIR=${CMAKE_BINARY_DIR} "-DWINE_ENV=${ZXP_WINE_ENV}"
                   -P ${CMAKE_SOURCE_DIR}/tests/windows/RenderSame.cmake)
  set_tests_properties(RenderSame.${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300
                        SKIP_REGULAR_EXPRESSION "is not built: nothing to compare with")
endforeach()

# The desktop backend in one of the platform's own windows, under Wine with a display of its own
# (xvfb-run): the form shows and takes the window's mouse and keys.
add_executable(zorvaxp-desktop-test ${CMAKE_SOURCE_DIR}/tests/windows/DesktopTest.cpp
               ${CMAKE_SOURCE_DIR}/tests/windows/DesktopProbe.cpp)
target_compile_options(zorvaxp-desktop-test PRIVATE ${ZXP_WARNINGS})
target_link_libraries(zorvaxp-desktop-test PRIVATE zorvaxp)
target_link_options(zorvaxp-desktop-test PRIVATE ${ZXP_WIN_STATIC_RUNTIME})
set(ZXP_WINE_DISPLAY_ENV ${ZXP_WINE_ENV})
list(FILTER ZXP_WINE_DISPLAY_ENV EXCLUDE REGEX "^DISPLAY=")  # xvfb-run names the display
add_test(NAME DesktopWindow
         COMMAND ${CMAKE_COMMAND} -E env ${ZXP_WINE_DISPLAY_ENV} xvfb-run -a -s "-screen 0 1024x768x24"
                 wine $<TARGET_FILE:zorvaxp-desktop-test>)
set_tests_properties(DesktopWindow PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK display TIMEOUT 300)
