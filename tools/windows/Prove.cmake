# The Windows build's own tests (included by tests/CMakeLists.txt on WIN32): the installer under Wine. The first
# test makes the installer (target installatore, Installatore.cmake); the second installs it silently into a Wine
# prefix of its own (made once under the build folder, about 700 MB), runs the installed copy by itself, and
# uninstalls it, checking that the user's data stay (prova-installatore.sh). `ctest -L windows` runs both.

set(giornali_setup ${CMAKE_BINARY_DIR}/lettore-giornali-${PROJECT_VERSION}-setup.exe)

add_test(NAME installatore_windows_costruzione
         COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target installatore)
set_tests_properties(installatore_windows_costruzione PROPERTIES
                     FIXTURES_SETUP installatore_windows LABELS windows TIMEOUT 300)

add_test(NAME installatore_windows
         COMMAND bash ${PROJECT_SOURCE_DIR}/tools/windows/prova-installatore.sh
                 ${giornali_setup} ${CMAKE_BINARY_DIR}/installatore/wine)
set_tests_properties(installatore_windows PROPERTIES
                     FIXTURES_REQUIRED installatore_windows LABELS windows TIMEOUT 300
                     ENVIRONMENT "${GIORNALI_AMBIENTE_PROVE}")
