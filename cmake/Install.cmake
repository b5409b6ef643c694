# Installation: headers, the static and shared libraries, a CMake package (find_package(ZorvaXP)
# gives ZorvaXP::zorvaxp, the static library, and ZorvaXP::zorvaxp_shared), a pkg-config file
# (zorvaxp) and the apps.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZXP_INSTALL_INCLUDE ${CMAKE_INSTALL_INCLUDEDIR}/zorvaxp)
target_include_directories(zorvaxp INTERFACE $<INSTALL_INTERFACE:${ZXP_INSTALL_INCLUDE}>
                                             $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(zorvaxp_shared INTERFACE $<INSTALL_INTERFACE:${ZXP_INSTALL_INCLUDE}>
                                                    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

# The library's headers keep their folders (#include "buttons/ZorvaXPButton.h"); the C header of
# the component interfaces is <zorvaxp/zorvaxp_com.h>.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/ DESTINATION ${ZXP_INSTALL_INCLUDE} FILES_MATCHING PATTERN "*.h")
install(FILES ${CMAKE_SOURCE_DIR}/include/zorvaxp/zorvaxp_com.h DESTINATION ${ZXP_INSTALL_INCLUDE})

install(TARGETS zorvaxp zorvaxp_shared EXPORT ZorvaXPTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The Python package beside the shared library (it looks for libzorvaxp.so in the folder above
# itself): PYTHONPATH=<prefix>/<libdir> imports it.
install(FILES ${ZXP_PYTHON_SOURCES} DESTINATION ${CMAKE_INSTALL_LIBDIR}/zorvaxp)
install(EXPORT ZorvaXPTargets NAMESPACE ZorvaXP:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorvaXP)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/ZorvaXPConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/generated/ZorvaXPConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorvaXP)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/generated/ZorvaXPConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/generated/ZorvaXPConfig.cmake ${CMAKE_BINARY_DIR}/generated/ZorvaXPConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorvaXP)

# Two pkg-config files of the static library from one template: zorvaxp.pc for the install (its
# paths relative to where it lies) and, in the build folder, zorvaxp-uninstalled.pc for the build
# tree (the source's headers, the archive where the build left it), which pkg-config takes for
# "zorvaxp" when PKG_CONFIG_PATH names the build folder:
#   g++ -std=c++20 hello.cpp $(PKG_CONFIG_PATH=build pkg-config --cflags --libs zorvaxp) -o hello
# A sanitized build's archive needs its program built with the same sanitizers: they are in the
# flags.
set(ZXP_CONSUMER_FLAGS "")
if(ZXP_SANITIZE OR ZXP_FUZZ)
  set(ZXP_CONSUMER_FLAGS "-fsanitize=address,undefined")
endif()
list(JOIN ZXP_PKG_MODULES " " ZXP_PC_REQUIRES)
string(APPEND ZXP_PC_REQUIRES " libjpeg")
set(ZXP_PC_LIBS "${ZXP_CONSUMER_FLAGS}")
foreach(lib ${CMAKE_DL_LIBS})
  string(APPEND ZXP_PC_LIBS " -l${lib}")
endforeach()
string(STRIP "${ZXP_PC_LIBS}" ZXP_PC_LIBS)

set(ZXP_PC_PREFIX "\${pcfiledir}/../..")
set(ZXP_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
set(ZXP_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
set(ZXP_PC_CFLAGS "-I\${includedir}/zorvaxp -I\${includedir} ${ZXP_CONSUMER_FLAGS}")
set(ZXP_PC_ARCHIVE "\${libdir}/$<TARGET_FILE_NAME:zorvaxp>")
configure_file(${CMAKE_SOURCE_DIR}/cmake/zorvaxp.pc.in ${CMAKE_BINARY_DIR}/generated/zorvaxp.pc.in @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/generated/zorvaxp.pc INPUT ${CMAKE_BINARY_DIR}/generated/zorvaxp.pc.in)
install(FILES ${CMAKE_BINARY_DIR}/generated/zorvaxp.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

set(ZXP_PC_PREFIX "${CMAKE_BINARY_DIR}")
set(ZXP_PC_LIBDIR "$<TARGET_FILE_DIR:zorvaxp>")
set(ZXP_PC_INCLUDEDIR "${CMAKE_SOURCE_DIR}")
set(ZXP_PC_CFLAGS "-I\${includedir}/src -I\${includedir}/include ${ZXP_CONSUMER_FLAGS}")
set(ZXP_PC_ARCHIVE "\${libdir}/$<TARGET_FILE_NAME:zorvaxp>")
configure_file(${CMAKE_SOURCE_DIR}/cmake/zorvaxp.pc.in ${CMAKE_BINARY_DIR}/generated/zorvaxp-uninstalled.pc.in @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/zorvaxp-uninstalled.pc INPUT ${CMAKE_BINARY_DIR}/generated/zorvaxp-uninstalled.pc.in)

foreach(app ${ZXP_APPS})
  install(TARGETS ${app} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# The consumer test: installs this build into a scratch prefix, then builds and runs a tiny
# project against it twice, through find_package and through pkg-config. A sanitized build's
# libraries need the consumer compiled with the same sanitizers.
add_test(NAME InstalledPackageConsumer
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/tests/install
                 "-DEXTRA_FLAGS=${ZXP_CONSUMER_FLAGS}" "-DPYTHON=$<$<NOT:$<BOOL:${ZXP_SANITIZE}>>:${ZXP_PYTHON}>"
                 -DWORK_DIR=${CMAKE_BINARY_DIR}/install-test -DGENERATOR=${CMAKE_GENERATOR}
                 -P ${CMAKE_SOURCE_DIR}/tests/install/RunConsumer.cmake)
set_tests_properties(InstalledPackageConsumer PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
