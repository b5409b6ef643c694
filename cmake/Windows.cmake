# The native Windows build (`make windows`): cross-compiled with mingw-w64 (cmake/mingw-w64-x86_64.cmake)
# and tested under Wine. Included by CMakeLists.txt in place of the Linux build when the target
# system is Windows. The libraries the platform layer still takes from elsewhere (pixman for
# regions and blits, FreeType for glyphs, libpng for PNG files, zlib) are cross-built from
# Debian's source packages by scripts/setup.sh into ZXP_WIN_DEPS; zlib is Debian's
# libz-mingw-w64-dev. Everything runs from one folder, bin/, as a Windows program expects its DLLs
# beside it.
if(NOT ZXP_WIN_DEPS)
  set(ZXP_WIN_DEPS ${CMAKE_BINARY_DIR}/deps)
endif()
set(ZXP_WIN_BIN ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${ZXP_WIN_BIN})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${ZXP_WIN_BIN})

function(zxp_win_import name lib include)
  if(NOT EXISTS ${ZXP_WIN_DEPS}/lib/${lib})
    message(FATAL_ERROR "${ZXP_WIN_DEPS}/lib/${lib} is missing: run scripts/setup.sh windows ${ZXP_WIN_DEPS}")
  endif()
  add_library(${name} STATIC IMPORTED)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${ZXP_WIN_DEPS}/lib/${lib}
                        INTERFACE_INCLUDE_DIRECTORIES ${ZXP_WIN_DEPS}/include/${include})
endfunction()
zxp_win_import(zxp_pixman libpixman-1.a pixman-1)
zxp_win_import(zxp_freetype libfreetype.a freetype2)
zxp_win_import(zxp_png libpng16.a "")
find_library(ZXP_WIN_ZLIB NAMES libz.a z REQUIRED)
set_property(TARGET zxp_png zxp_freetype PROPERTY INTERFACE_LINK_LIBRARIES ${ZXP_WIN_ZLIB})

# The library's sources: those of the Linux build less the ones that are Linux's own (their
# Windows counterparts are the files named *Win32.cpp).
file(GLOB_RECURSE ZXP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
set(ZXP_LINUX_ONLY_SOURCES
  platform/base/LazyLibrary.cpp            # dlopen
  platform/base/Module.cpp                 # dladdr
  platform/gfx/FontFilesFontconfig.cpp     # fontconfig
  platform/services/ShellFolders.cpp       # the XDG folders
  platform/services/ShellXdg.cpp           # xdg-open
  platform/services/SdlSound.cpp           # SDL2's audio (SoundWin32.cpp: PlaySoundW)
  platform/services/SdlMessageBox.cpp      # SDL2's message box (MessageBoxWin32.cpp: MessageBoxW)
  platform/ui/SdlBackend.cpp               # SDL2's window and clipboard (DesktopBackendWin32.cpp: the platform's own)
  platform/ui/SdlClipboard.cpp
  platform/ui/DesktopBackend.cpp           # SDL2's window (DesktopBackendWin32.cpp: the platform's own)
  platform/gfx/Jpeg.cpp                    # libjpeg (JpegWin32.cpp: the platform's imaging component)
  platform/services/ComponentRuntime.cpp   # BSTR, VARIANT, SAFEARRAY, CLSIDs, RegGetValueA: oleaut32, ole32, advapi32
)
foreach(f ${ZXP_LINUX_ONLY_SOURCES})
  list(REMOVE_ITEM ZXP_SOURCES ${CMAKE_SOURCE_DIR}/src/${f})
endforeach()

add_library(zorvaxp STATIC ${ZXP_SOURCES})
target_include_directories(zorvaxp PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/include)
# The headers of header-only libraries, and of those opened on first use (SDL2, libxlsxwriter:
# base/LazyLibrary.h opens their DLLs when a run first calls them).
target_include_directories(zorvaxp SYSTEM PRIVATE ${ZXP_WIN_DEPS}/include/headers ${ZXP_WIN_DEPS}/include)
# The POSIX calls of the platform's file and time code, mapped onto the platform's own.
target_compile_options(zorvaxp PRIVATE ${ZXP_WARNINGS} -include ${CMAKE_SOURCE_DIR}/src/platform/base/PosixWin32.h)
# xxHash is header-only here (the Linux build links Debian's libxxhash).
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/gfx/Text.cpp PROPERTIES COMPILE_DEFINITIONS XXH_INLINE_ALL)
target_link_libraries(zorvaxp PUBLIC shell32 ole32 oleaut32 uuid windowscodecs gdi32 user32 advapi32 winmm)
target_link_libraries(zorvaxp PUBLIC zxp_pixman zxp_freetype zxp_png)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/foundation/LibraryVersion.cpp PROPERTIES
  COMPILE_DEFINITIONS "ZXP_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};ZXP_VERSION_MINOR=${PROJECT_VERSION_MINOR};ZXP_VERSION_PATCH=${PROJECT_VERSION_PATCH}")

# Programs and the DLL carry their C and C++ runtimes inside (no mingw-w64 DLLs to ship).
set(ZXP_WIN_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

enable_language(RC)  # the type library resource

# Programs the build and the tests run go through Wine, in a prefix of its own under the build
# folder, without a display and without its prompts to install Mono and Gecko.
set(ZXP_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ZXP_WINE_ENV "WINEPREFIX=${ZXP_WINEPREFIX}" "WINEARCH=win64" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=" "DISPLAY=")

# The type library: zorvaxp-idl writes it as IDL from the server's own type information (under
# Wine), widl compiles it against Wine's IDL files and stdole2.tlb, and zorvaxp.dll carries it as
# its TYPELIB resource 1, where the platform's LoadRegTypeLib looks.
add_executable(zorvaxp-idl ${CMAKE_SOURCE_DIR}/tools/idl/main.cpp)
target_compile_options(zorvaxp-idl PRIVATE ${ZXP_WARNINGS})
target_link_libraries(zorvaxp-idl PRIVATE zorvaxp)
target_link_options(zorvaxp-idl PRIVATE -static -static-libgcc -static-libstdc++)
find_program(ZXP_WIDL NAMES ${ZXP_MINGW_TRIPLE}-widl REQUIRED)
find_path(ZXP_WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(ZXP_STDOLE_DIR stdole2.tlb PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/zorvaxp.idl
  COMMAND ${CMAKE_COMMAND} -E env ${ZXP_WINE_ENV}
          sh -c "wine '$<TARGET_FILE:zorvaxp-idl>' > '${CMAKE_BINARY_DIR}/zorvaxp.idl'"
  DEPENDS zorvaxp-idl COMMENT "Writing the type library's IDL (zorvaxp-idl under Wine)" VERBATIM)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/zorvaxp.tlb
  COMMAND ${ZXP_WIDL} -t -o ${CMAKE_BINARY_DIR}/zorvaxp.tlb -I ${ZXP_WINE_IDL_DIR} -L ${ZXP_STDOLE_DIR}
          ${CMAKE_BINARY_DIR}/zorvaxp.idl
  DEPENDS ${CMAKE_BINARY_DIR}/zorvaxp.idl COMMENT "Compiling the type library (widl)")
file(WRITE ${CMAKE_BINARY_DIR}/zorvaxp.rc "1 TYPELIB \"${CMAKE_BINARY_DIR}/zorvaxp.tlb\"\n")
set_source_files_properties(${CMAKE_BINARY_DIR}/zorvaxp.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/zorvaxp.tlb)

# zorvaxp.dll: the component server, the whole static library in one module; it exports the
# four entry points and the C interface of include/zorvaxp/zorvaxp_com.h (zorvaxp.def), and
# carries the type library.
add_library(zorvaxp_shared SHARED ${CMAKE_SOURCE_DIR}/src/library/com/SharedLibrary.c
            ${CMAKE_SOURCE_DIR}/src/library/com/zorvaxp.def ${CMAKE_BINARY_DIR}/zorvaxp.rc)
target_link_libraries(zorvaxp_shared PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,zorvaxp>")
target_include_directories(zorvaxp_shared PUBLIC ${CMAKE_SOURCE_DIR}/include)
target_link_options(zorvaxp_shared PRIVATE ${ZXP_WIN_STATIC_RUNTIME})
set_target_properties(zorvaxp_shared PROPERTIES OUTPUT_NAME zorvaxp PREFIX "" LINKER_LANGUAGE CXX)

# The form renderer, zorvaxp-render.exe.
add_executable(zorvaxp-render ${CMAKE_SOURCE_DIR}/apps/render/main.cpp ${CMAKE_SOURCE_DIR}/apps/render/Render.cpp)
target_compile_options(zorvaxp-render PRIVATE ${ZXP_WARNINGS})
target_link_libraries(zorvaxp-render PRIVATE zorvaxp)
target_link_options(zorvaxp-render PRIVATE ${ZXP_WIN_STATIC_RUNTIME})

# The embedded fonts, beside the programs (gfx/FontFilesWin32.cpp), and the DLLs opened on first
# use: libxlsxwriter.dll (workbooks) and SDL2.dll (reading wave files).
file(GLOB ZXP_WIN_FONTS ${ZXP_WIN_DEPS}/fonts/*.ttf)
file(COPY ${ZXP_WIN_FONTS} DESTINATION ${ZXP_WIN_BIN}/fonts)
foreach(dll libxlsxwriter.dll SDL2.dll)
  if(EXISTS ${ZXP_WIN_DEPS}/bin/${dll})
    file(COPY ${ZXP_WIN_DEPS}/bin/${dll} DESTINATION ${ZXP_WIN_BIN})
  endif()
endforeach()

include(${CMAKE_SOURCE_DIR}/cmake/WindowsTests.cmake)
