# cmake -D CPACK=<cpack> -D CONFIG=<CPackConfig.cmake> -D CARTELLA=<folder> -D VERSIONE=<version>
#       -D CARTELLA_PRIVATA=<private library folder, relative to the prefix> -P Pacchetto.cmake
# Builds the Debian package into an emptied folder and checks its name, the dependencies it declares and the
# files it carries.
file(REMOVE_RECURSE "${CARTELLA}")
execute_process(COMMAND "${CPACK}" -G DEB --config "${CONFIG}" -B "${CARTELLA}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack non riuscito (${result}):\n${output}")
endif()

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE architecture OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb "${CARTELLA}/lettore-giornali_${VERSIONE}_${architecture}.deb")
if(NOT EXISTS "${deb}")
    file(GLOB made "${CARTELLA}/*.deb")
    message(FATAL_ERROR "Manca ${deb}; cpack ha prodotto: ${made}")
endif()

set(failures "")
function(expect what text pattern)
    if(NOT text MATCHES "${pattern}")
        set(failures "${failures}manca ${what}\n" PARENT_SCOPE)
    endif()
endfunction()

execute_process(COMMAND dpkg-deb -f "${deb}" Package Version Depends Recommends OUTPUT_VARIABLE fields)
expect("il nome" "${fields}" "Package: lettore-giornali\n")
expect("la versione ${VERSIONE}" "${fields}" "Version: ${VERSIONE}\n")
foreach(library libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6httpserver6 libarchive13 libespeak-ng1
                libmp3lame0)
    expect("${library} in Depends" "${fields}" "Depends: [^\n]*${library} \\(")
endforeach()
expect("qt6-translations-l10n in Recommends" "${fields}" "Recommends: [^\n]*qt6-translations-l10n")

# Only the program's own files, owned by root, the executables without their debugging sections.
execute_process(COMMAND dpkg-deb -c "${deb}" OUTPUT_VARIABLE contents)
foreach(file usr/bin/lettore-giornali usr/bin/lettore-giornali-servizio-demo usr/bin/lettore-giornali-genera-giornale
             usr/${CARTELLA_PRIVATA}/libunzip32.so usr/${CARTELLA_PRIVATA}/lettore-giornali-voce usr/share/applications/[^/\n]+\\.desktop
             usr/share/metainfo/[^/\n]+\\.metainfo\\.xml usr/share/icons/hicolor/scalable/apps/lettore-giornali\\.svg
             usr/lib/systemd/user/lettore-giornali-aggiorna\\.service usr/lib/systemd/user/lettore-giornali-aggiorna\\.timer)
    expect("${file}" "${contents}" " root/root +[0-9]+ [-0-9]+ [:0-9]+ \\./${file}\n")
endforeach()
if(contents MATCHES "(tst_|bench_)[^\n]*")
    string(APPEND failures "un programma di prova o di misura: ${CMAKE_MATCH_0}\n")
endif()
if(contents MATCHES "[^\n]* \\./usr/lib/debug/[^\n]*|[^\n]* \\./usr/(local|include)/[^\n]*")
    string(APPEND failures "file fuori posto: ${CMAKE_MATCH_0}\n")
endif()

file(REMOVE_RECURSE "${CARTELLA}/estratto")
execute_process(COMMAND dpkg-deb -x "${deb}" "${CARTELLA}/estratto")
execute_process(COMMAND file -b "${CARTELLA}/estratto/usr/bin/lettore-giornali" OUTPUT_VARIABLE kind)
if(NOT kind MATCHES ", stripped")
    string(APPEND failures "simboli di debug non rimossi: ${kind}")
endif()

# lintian, where it is installed, finds no error and no warning.
find_program(LINTIAN lintian)
if(LINTIAN)
    execute_process(COMMAND "${LINTIAN}" --fail-on error,warning "${deb}" RESULT_VARIABLE lintian_result
                    OUTPUT_VARIABLE lintian_output ERROR_VARIABLE lintian_errors)
    if(NOT lintian_result EQUAL 0)
        string(APPEND failures "lintian:\n${lintian_output}\n")
    endif()
endif()

if(failures)
    message(FATAL_ERROR "${deb}\n${failures}\n${fields}\n${contents}")
endif()
message("${deb}\n${fields}")
