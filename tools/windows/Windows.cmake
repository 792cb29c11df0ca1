# The Windows build (included by the top-level CMakeLists.txt). The DLLs the programs need are copied beside them,
# with a qt.conf that makes the program's own folder Qt's prefix, so that the build folder runs as the installed
# copy does; a cross build runs its tests under Wine.

set(GIORNALI_WINDOWS_PREFISSI "" CACHE STRING "Folders of the Windows libraries (Qt, libarchive, gumbo)")

# espeak-ng's voices, beside the voice program that speaks the talking books.
find_path(giornali_dati_espeak espeak-ng-data PATHS ${CMAKE_FIND_ROOT_PATH} PATH_SUFFIXES share NO_DEFAULT_PATH REQUIRED)

# The C and C++ run-time of MinGW-w64 and the DLLs of the third-party libraries.
set(giornali_dll_esterne "")
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE trovata
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${trovata}")
        find_file(trovata_${dll} ${dll} PATHS /usr/${TOOLCHAIN_PREFIX}/lib NO_DEFAULT_PATH)
        set(trovata ${trovata_${dll}})
    endif()
    list(APPEND giornali_dll_esterne ${trovata})
endforeach()
foreach(dll zlib1.dll libarchive.dll libgumbo-1.dll libespeak-ng-1.dll libmp3lame-0.dll)
    find_file(dll_${dll} ${dll} PATHS ${CMAKE_FIND_ROOT_PATH} PATH_SUFFIXES bin lib NO_DEFAULT_PATH REQUIRED)
    list(APPEND giornali_dll_esterne ${dll_${dll}})
endforeach()

set(giornali_moduli_qt Core Gui Widgets Network Concurrent)
get_target_property(giornali_qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(giornali_qt_prefisso "${giornali_qt_core}/../.." ABSOLUTE)
set(giornali_plugin_qt platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll)
find_file(giornali_traduzione_qt qtbase_it.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH)

# Beside the programs of the build: every DLL, Qt Test as well, the plugins and the translation.
set(qt_conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = traduzioni\n")
file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "${qt_conf}")
set(copie "")
foreach(modulo ${giornali_moduli_qt} Test)
    list(APPEND copie COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::${modulo}> ${CMAKE_BINARY_DIR})
endforeach()
foreach(plugin ${giornali_plugin_qt})
    get_filename_component(cartella ${plugin} DIRECTORY)
    list(APPEND copie COMMAND ${CMAKE_COMMAND} -E copy_if_different ${giornali_qt_prefisso}/plugins/${plugin}
         ${CMAKE_BINARY_DIR}/${cartella}/)
endforeach()
if(giornali_traduzione_qt)
    list(APPEND copie COMMAND ${CMAKE_COMMAND} -E copy_if_different ${giornali_traduzione_qt}
         ${CMAKE_BINARY_DIR}/traduzioni/)
endif()
add_custom_target(dll_windows ALL
                  COMMAND ${CMAKE_COMMAND} -E make_directory platforms styles traduzioni
                  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${giornali_dll_esterne} ${CMAKE_BINARY_DIR}
                  ${copie}
                  COMMAND ${CMAKE_COMMAND} -E copy_directory ${giornali_dati_espeak}/espeak-ng-data
                          ${CMAKE_BINARY_DIR}/espeak-ng-data
                  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)

# Tests and benchmarks under Wine: its own prefix, headless through Qt's offscreen plugin. Wine hands no variable
# named QT_* to a Windows program, but turns WINEQT_* into QT_*; Qt Test writes to a pipe only when told to.
set(GIORNALI_WINEPREFIX "" CACHE PATH "Wine's prefix for the tests")
set(GIORNALI_SERVIZIO_DEMO_LINUX "" CACHE FILEPATH "The Linux build's demo service, which the Windows tests use")
# The tests run with Italian regional settings, those of the program's users (Wine takes them from LC_ALL).
set(GIORNALI_AMBIENTE_PROVE
    LC_ALL=it_IT.UTF-8
    QT_QPA_PLATFORM=offscreen
    WINEQT_QPA_PLATFORM=offscreen
    WINEQT_FORCE_STDERR_LOGGING=1
    WINEQT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu
    WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=)
if(GIORNALI_WINEPREFIX)
    list(APPEND GIORNALI_AMBIENTE_PROVE WINEPREFIX=${GIORNALI_WINEPREFIX})
endif()
