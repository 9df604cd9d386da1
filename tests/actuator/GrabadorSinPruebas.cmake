# The recording port library belongs to every build, not only to the test
# build: the guide to the port uses it from the build of scripts/run.sh, which
# is configured without the tests.
# Usage: cmake -DFUENTE=<source tree> -DCARPETA=<scratch folder> -P GrabadorSinPruebas.cmake
file(REMOVE_RECURSE ${CARPETA})
execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${FUENTE} -B ${CARPETA} -G Ninja -DGEDANKO_TESTS=OFF -DGEDANKO_BENCH=OFF
    RESULT_VARIABLE resultado OUTPUT_QUIET)
if(NOT resultado EQUAL 0)
    message(FATAL_ERROR "configuring without the tests failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${CARPETA} --target inpout32_grabador RESULT_VARIABLE resultado)
set(grabador ${CARPETA}/grabador/libinpout32.so)
if(NOT resultado EQUAL 0 OR NOT EXISTS ${grabador})
    message(FATAL_ERROR "a build without the tests has no ${grabador}")
endif()
file(REMOVE_RECURSE ${CARPETA})
