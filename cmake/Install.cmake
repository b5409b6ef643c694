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
install(EXPORT ZorvaXPTargets NAMESPACE ZorvaXP:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorvaXP)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/ZorvaXPConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/generated/ZorvaXPConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorvaXP)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/generated/ZorvaXPConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/generated/ZorvaXPConfig.cmake ${CMAKE_BINARY_DIR}/generated/ZorvaXPConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZorvaXP)

configure_file(${CMAKE_SOURCE_DIR}/cmake/zorvaxp.pc.in ${CMAKE_BINARY_DIR}/generated/zorvaxp.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/zorvaxp.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

foreach(app ${ZXP_APPS})
  install(TARGETS ${app} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# The consumer test: installs this build into a scratch prefix, then builds and runs a tiny
# project against it twice, through find_package and through pkg-config. A sanitized build's
# libraries need the consumer compiled with the same sanitizers.
set(ZXP_CONSUMER_FLAGS "")
if(ZXP_SANITIZE OR ZXP_FUZZ)
  set(ZXP_CONSUMER_FLAGS "-fsanitize=address,undefined")
endif()
add_test(NAME InstalledPackageConsumer
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/tests/install
                 "-DEXTRA_FLAGS=${ZXP_CONSUMER_FLAGS}"
                 -DWORK_DIR=${CMAKE_BINARY_DIR}/install-test -DGENERATOR=${CMAKE_GENERATOR}
                 -P ${CMAKE_SOURCE_DIR}/tests/install/RunConsumer.cmake)
set_tests_properties(InstalledPackageConsumer PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
