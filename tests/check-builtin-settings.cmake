# The built-in settings text as the build embeds it: LF and CR line endings become CR LF, a byte-order mark stays,
# and a text without a section stops the build. Run as: cmake -DSCRATCH=<folder> -P check-builtin-settings.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/BuiltInSettings.cmake)
string(ASCII 239 187 191 bom)

function(expect_embedded name text expected)
    file(WRITE "${SCRATCH}/${name}.ini" "${text}")
    file(WRITE "${SCRATCH}/${name}.expected" "${expected}")
    koru_embed_builtin_settings("${SCRATCH}/${name}.ini" "${SCRATCH}/${name}.out")
    file(READ "${SCRATCH}/${name}.out" embedded HEX)
    file(READ "${SCRATCH}/${name}.expected" wanted HEX)
    if(NOT embedded STREQUAL wanted)
        message(FATAL_ERROR "${name}: embedded as ${embedded}, not ${wanted}")
    endif()
endfunction()

function(expect_refused name text)
    file(WRITE "${SCRATCH}/${name}.ini" "${text}")
    execute_process(COMMAND ${CMAKE_COMMAND} -DINPUT=${SCRATCH}/${name}.ini -DOUTPUT=${SCRATCH}/${name}.out
                            -P ${CMAKE_CURRENT_LIST_DIR}/../cmake/BuiltInSettings.cmake
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    if(result EQUAL 0)
        message(FATAL_ERROR "${name}: a text without a section was embedded")
    endif()
endfunction()

expect_embedded(lf "[A]\nk=v\n  [ B ] \nj=w" "[A]\r\nk=v\r\n  [ B ] \r\nj=w")
expect_embedded(mixed "${bom}[A]\r\nk=v\rj=w\n" "${bom}[A]\r\nk=v\r\nj=w\r\n")
expect_refused(none "k=v\n[unclosed\n")
expect_refused(empty "")
