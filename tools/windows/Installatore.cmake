# The Windows installation (included by the top-level CMakeLists.txt after Windows.cmake, whose variables it uses):
# everything the programs need lies flat beside them, the Qt plugins and translation in their subfolders, with a
# qt.conf that makes the program's own folder Qt's prefix. The target `installatore` installs the build into a
# folder of its own and makes an NSIS installer of it:
#   cmake --build build-windows --target installatore   ->   build-windows/lettore-giornali-<versione>-setup.exe
#
# Run as a script (cmake -P, by the target) this file does the target's steps; see the end of the file.

if(NOT CMAKE_SCRIPT_MODE_FILE)

install(FILES ${giornali_dll_esterne} DESTINATION .)
install(DIRECTORY ${giornali_dati_espeak}/espeak-ng-data DESTINATION .)
foreach(modulo ${giornali_moduli_qt})
    install(FILES $<TARGET_FILE:Qt6::${modulo}> DESTINATION .)
endforeach()
foreach(plugin ${giornali_plugin_qt})
    get_filename_component(cartella ${plugin} DIRECTORY)
    install(FILES ${giornali_qt_prefisso}/plugins/${plugin} DESTINATION ${cartella})
endforeach()
if(giornali_traduzione_qt)
    install(FILES ${giornali_traduzione_qt} DESTINATION traduzioni)
endif()
file(WRITE ${CMAKE_BINARY_DIR}/installatore/qt.conf "${qt_conf}")
install(FILES ${CMAKE_BINARY_DIR}/installatore/qt.conf DESTINATION .)

# The installer. Windows wants a version of four numbers in the file's properties.
find_program(GIORNALI_MAKENSIS makensis DOC "NSIS's compiler, for the target installatore")
set(giornali_strip "${CMAKE_STRIP}")
if(NOT giornali_strip)
    find_program(giornali_strip_mingw ${TOOLCHAIN_PREFIX}-strip x86_64-w64-mingw32-strip)
    set(giornali_strip "${giornali_strip_mingw}")
endif()
set(giornali_versione_file "")
foreach(parte MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${parte}}" STREQUAL "")
        list(APPEND giornali_versione_file 0)
    else()
        list(APPEND giornali_versione_file ${PROJECT_VERSION_${parte}})
    endif()
endforeach()
list(JOIN giornali_versione_file . giornali_versione_file)
set(giornali_installatore ${CMAKE_BINARY_DIR}/lettore-giornali-${PROJECT_VERSION}-setup.exe)
add_custom_target(installatore
                  COMMAND ${CMAKE_COMMAND}
                          -DCOSTRUZIONE=${CMAKE_BINARY_DIR}
                          -DCONFIGURAZIONE=$<CONFIG>
                          -DCONTENUTO=${CMAKE_BINARY_DIR}/installatore/contenuto
                          -DELENCO=${CMAKE_BINARY_DIR}/installatore/file-installati.nsh
                          -DSTRIP=${giornali_strip}
                          -DMAKENSIS=${GIORNALI_MAKENSIS}
                          -DNSI=${CMAKE_CURRENT_LIST_DIR}/lettore-giornali.nsi
                          -DVERSIONE=${PROJECT_VERSION}
                          -DVERSIONE_FILE=${giornali_versione_file}
                          -DUSCITA=${giornali_installatore}
                          -P ${CMAKE_CURRENT_LIST_FILE}
                  BYPRODUCTS ${giornali_installatore}
                  COMMENT "Installatore ${giornali_installatore}"
                  VERBATIM USES_TERMINAL)
add_dependencies(installatore lettore-giornali lettore-giornali-genera-giornale unzip32 dll_windows)

else() # cmake -P: the steps of the target installatore

foreach(variabile COSTRUZIONE CONTENUTO ELENCO NSI VERSIONE USCITA)
    if("${${variabile}}" STREQUAL "")
        message(FATAL_ERROR "Installatore.cmake: manca -D${variabile}")
    endif()
endforeach()
if(NOT MAKENSIS OR NOT EXISTS "${MAKENSIS}")
    message(FATAL_ERROR "makensis non trovato: installare NSIS (apt-get install nsis) e riconfigurare")
endif()

# The installed copy, from scratch: files the build no longer installs must not reach the installer.
file(REMOVE_RECURSE "${CONTENUTO}")
file(REMOVE "${USCITA}")
set(configurazione "")
if(CONFIGURAZIONE)
    set(configurazione --config ${CONFIGURAZIONE})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install "${COSTRUZIONE}" --prefix "${CONTENUTO}" ${configurazione}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
foreach(necessario lettore-giornali.exe lettore-giornali-genera-giornale.exe unzip32.dll Qt6Core.dll qt.conf
                   platforms/qwindows.dll)
    if(NOT EXISTS "${CONTENUTO}/${necessario}")
        message(FATAL_ERROR "L'installazione in ${CONTENUTO} non contiene ${necessario}")
    endif()
endforeach()
if(EXISTS "${CONTENUTO}/disinstalla.exe")
    message(FATAL_ERROR "disinstalla.exe è dell'installatore, non della costruzione: ${CONTENUTO}")
endif()

# Without their symbols the programs and libraries weigh a quarter as much.
file(GLOB_RECURSE binari "${CONTENUTO}/*.exe" "${CONTENUTO}/*.dll")
if(STRIP AND EXISTS "${STRIP}")
    execute_process(COMMAND "${STRIP}" --strip-unneeded ${binari} COMMAND_ERROR_IS_FATAL ANY)
else()
    message(STATUS "Installatore: strip non trovato, i file restano con i simboli")
endif()

# What the uninstaller removes: exactly the files installed, then their folders, the deepest first.
file(GLOB_RECURSE voci RELATIVE "${CONTENUTO}" LIST_DIRECTORIES true "${CONTENUTO}/*")
list(SORT voci)
set(file_nsh "; Written by Installatore.cmake: the files of the installed copy, for the uninstaller.\n")
set(cartelle_nsh "")
foreach(voce ${voci})
    if(voce MATCHES "[\"\n\r`']")
        message(FATAL_ERROR "Installatore: nome di file non ammesso: ${voce}")
    endif()
    string(REPLACE "$" "$$" percorso "${voce}")
    string(REPLACE "/" "\\" percorso "${percorso}")
    if(IS_DIRECTORY "${CONTENUTO}/${voce}")
        string(PREPEND cartelle_nsh "RMDir \"$INSTDIR\\${percorso}\"\n")
    else()
        string(APPEND file_nsh "Delete \"$INSTDIR\\${percorso}\"\n")
    endif()
endforeach()
file(WRITE "${ELENCO}" "${file_nsh}${cartelle_nsh}")

set(versione_file "")
if(VERSIONE_FILE)
    set(versione_file -DVERSIONE_FILE=${VERSIONE_FILE})
endif()
execute_process(COMMAND "${MAKENSIS}" -V2 -WX -INPUTCHARSET UTF8
                        -DVERSIONE=${VERSIONE} ${versione_file} -DCONTENUTO=${CONTENUTO} -DELENCO=${ELENCO}
                        -DUSCITA=${USCITA} "${NSI}"
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Installatore: ${USCITA}")

endif()
