# Cross-compiling for 64-bit Windows with Debian 12's MinGW-w64 (gcc 12, posix thread model: std::thread and Qt 6
# need it). GIORNALI_WINDOWS_PREFISSI (a ;-list, in the environment or the cache) names the folders holding the
# libraries built for Windows: Qt, libarchive, gumbo.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_AR /usr/bin/${TOOLCHAIN_PREFIX}-ar)
set(CMAKE_RANLIB /usr/bin/${TOOLCHAIN_PREFIX}-ranlib)

if(NOT GIORNALI_WINDOWS_PREFISSI AND DEFINED ENV{GIORNALI_WINDOWS_PREFISSI})
    set(GIORNALI_WINDOWS_PREFISSI "$ENV{GIORNALI_WINDOWS_PREFISSI}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX} ${GIORNALI_WINDOWS_PREFISSI})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# pkg-config looks only at the Windows libraries' own records.
set(pc_dirs "")
foreach(prefix ${GIORNALI_WINDOWS_PREFISSI})
    string(APPEND pc_dirs "${prefix}/lib/pkgconfig:")
endforeach()
set(ENV{PKG_CONFIG_LIBDIR} "${pc_dirs}")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Only Wine's 64-bit half: it runs on a kernel without 32-bit support too.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
