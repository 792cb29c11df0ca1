# Wine's server for the tests, started by a fixture away from ctest's pipes and stopped at the end.
add_test(NAME wine_avvio COMMAND ${PROJECT_SOURCE_DIR}/tools/windows/wine-server.sh avvia)
add_test(NAME wine_arresto COMMAND ${PROJECT_SOURCE_DIR}/tools/windows/wine-server.sh ferma)
set_tests_properties(wine_avvio PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${GIORNALI_AMBIENTE_PROVE}")
set_tests_properties(wine_arresto PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${GIORNALI_AMBIENTE_PROVE}")
foreach(test ${giornali_prove})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine)
endforeach()

# The Windows tests that need the demo service talk to the Linux build's, started for them by a fixture (the
# Windows build has no Qt HttpServer). They run one at a time, as its folder of profiles is shared.
set(servizio_demo ${CMAKE_BINARY_DIR}/servizio-demo)
add_test(NAME servizio_demo_avvio COMMAND ${PROJECT_SOURCE_DIR}/tools/windows/servizio-demo.sh avvia ${servizio_demo}
                                          ${GIORNALI_SERVIZIO_DEMO_LINUX})
add_test(NAME servizio_demo_arresto COMMAND ${PROJECT_SOURCE_DIR}/tools/windows/servizio-demo.sh ferma ${servizio_demo})
set_tests_properties(servizio_demo_avvio PROPERTIES FIXTURES_SETUP servizio_demo)
set_tests_properties(servizio_demo_arresto PROPERTIES FIXTURES_CLEANUP servizio_demo)
if(NOT EXISTS "${GIORNALI_SERVIZIO_DEMO_LINUX}")
    message(WARNING "GIORNALI_SERVIZIO_DEMO_LINUX non indica il servizio dimostrativo della build Linux: "
                    "le prove che lo usano falliranno.")
endif()

function(giornali_usa_servizio_demo)
    foreach(test ${ARGN})
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT LETTORE_GIORNALI_SERVIZIO_DEMO=Z:${servizio_demo})
        set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED "wine;servizio_demo" RESOURCE_LOCK servizio_demo)
    endforeach()
endfunction()
