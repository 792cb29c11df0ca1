# What a desktop needs to offer the installed program, and the Debian package that carries it all.
# Included by the top-level CMakeLists.txt after every other install rule.

# The menu entry and the software-centre record go by the component's id; the icon by the program's name.
set(LETTORE_GIORNALI_ID it.ondaris.LettoreGiornali)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lettore-giornali.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${LETTORE_GIORNALI_ID}.desktop)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${LETTORE_GIORNALI_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lettore-giornali.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The check of the subscriptions with the program closed: a user timer, off until the user enables it with
# systemctl --user enable --now lettore-giornali-aggiorna.timer
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lettore-giornali-aggiorna.service
              ${CMAKE_CURRENT_LIST_DIR}/lettore-giornali-aggiorna.timer
        DESTINATION lib/systemd/user)

# The manual pages, the changelog and the copyright, compressed as Debian wants them (gzip -9n: no name, no time).
find_program(GZIP gzip)
set(compressi "")
foreach(source man/lettore-giornali.1 man/lettore-giornali-servizio-demo.1 man/lettore-giornali-genera-giornale.1
               changelog)
    get_filename_component(name ${source} NAME)
    set(output ${CMAKE_BINARY_DIR}/documentazione/${name}.gz)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/documentazione
                       COMMAND ${GZIP} -9n -c ${CMAKE_CURRENT_LIST_DIR}/${source} > ${output}
                       DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${source} VERBATIM)
    list(APPEND compressi ${output})
endforeach()
add_custom_target(documentazione ALL DEPENDS ${compressi})
install(FILES ${CMAKE_BINARY_DIR}/documentazione/lettore-giornali.1.gz
              ${CMAKE_BINARY_DIR}/documentazione/lettore-giornali-servizio-demo.1.gz
              ${CMAKE_BINARY_DIR}/documentazione/lettore-giornali-genera-giornale.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/documentazione/changelog.gz ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lettore-giornali)

# The package: cd build && cpack -G DEB gives lettore-giornali_<version>_<architecture>.deb.
set(LETTORE_GIORNALI_MANUTENTORE "Sviluppatori di Lettore Giornali <lettore-giornali@ondaris.it>"
    CACHE STRING "The Debian package's maintainer, as Name <address>")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lettore-giornali)
set(CPACK_PACKAGE_VENDOR "Sviluppatori di Lettore Giornali")
set(CPACK_PACKAGE_CONTACT "${LETTORE_GIORNALI_MANUTENTORE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lettore di quotidiani per tastiera e lettore di schermo")
# The package's description, in lines of under 80 characters as Debian wants them.
set(CPACK_PACKAGE_DESCRIPTION "\
Lettore Giornali preleva i quotidiani dal servizio a cui si è abbonati, li\n\
conserva e li fa leggere sezione per sezione e articolo per articolo, tutto\n\
da tastiera. Ogni controllo ha un nome che il lettore di schermo pronuncia.\n\
\n\
Il pacchetto comprende anche un servizio dimostrativo e dei numeri di esempio\n\
(lettore-giornali --demo).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build keeps its debugging information (RelWithDebInfo); the package does without it.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LETTORE_GIORNALI_MANUTENTORE}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt, libarchive and the rest come from the libraries the executables and the extraction library link.
# Qt's own dialogs speak Italian with its translations, and an article opens in the desktop's default
# application through xdg-open; on GNOME and the like, Qt's GTK theme plugin gives the program the desktop's
# palette, dark or high-contrast; on Wayland the program runs through XWayland unless Qt's Wayland plugin is there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, xdg-utils, qt6-gtk-platformtheme, speech-dispatcher, speech-dispatcher-espeak-ng")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
