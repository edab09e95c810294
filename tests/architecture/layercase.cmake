cmake_minimum_required(VERSION 3.25)
# Configures the small stack with one wiring and checks that configure answers as it should:
# EXPECT empty for success, else a piece of the refusal.
execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY}/${CASE} -DCASE=${CASE}
        -DVASKELIO_LAYER_MODULE=${MODULE} -DCMAKE_PREFIX_PATH=${PREFIX}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${BINARY}/${CASE})
string(REPLACE "\n" " " said "${out}${err}")
string(REGEX REPLACE " +" " " said "${said}")
if(EXPECT STREQUAL "")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${CASE}: a sound stack was refused: ${said}")
    endif()
elseif(result EQUAL 0)
    message(FATAL_ERROR "${CASE}: configure accepted it")
elseif(NOT said MATCHES "${EXPECT}")
    message(FATAL_ERROR "${CASE}: refused, but not for \"${EXPECT}\": ${said}")
endif()
