# cmake -D BUILD=<build folder> -D DESTDIR=<folder> -P Installa.cmake
# Installs the build under DESTDIR with the prefix /usr, as the package lays it out, into an emptied folder so
# nothing left by an earlier run can stand in for a file the install rules no longer put there.
file(REMOVE_RECURSE "${DESTDIR}")
set(ENV{DESTDIR} "${DESTDIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix /usr
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install non riuscito (${result}):\n${output}")
endif()
