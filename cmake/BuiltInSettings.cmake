# The settings text built into the launcher. The launcher reads lines that end in CR LF, so the lines are given
# that ending whatever the editor wrote, and a text in which the launcher would find no section at all stops the
# build instead of being embedded as nothing. UTF-16 text (with its byte-order mark) is embedded as it is, since
# CMake cannot write text that holds NUL bytes, and is only checked.
#
# As a script: cmake -DINPUT=<settings text> -DOUTPUT=<file to embed> -P BuiltInSettings.cmake

function(koru_check_utf16_settings input)
    file(READ "${input}" hex HEX)
    string(TOLOWER "${hex}" hex)
    string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1," units "${hex}")
    # A line (after the mark, or after CR LF) whose first character above the space is "[" and whose last is "]".
    if(NOT units MATCHES "(^fffe,|0d00,0a00,)((2000|0900),)*5b00,([0-9a-f]+,)*5d00,((2000|0900),)*(0d00,0a00,|$)")
        message(FATAL_ERROR "${input}: no [section] line ending in CR LF; the launcher would find no settings in it")
    endif()
endfunction()

function(koru_embed_builtin_settings input output)
    file(READ "${input}" head LIMIT 2 HEX)
    if(head STREQUAL "fffe")
        koru_check_utf16_settings("${input}")
        configure_file("${input}" "${output}" COPYONLY)
        return()
    endif()
    file(READ "${input}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\r" "\n" text "${text}")
    string(ASCII 239 187 191 bom)
    if(NOT "\n${text}" MATCHES "\n(${bom})?[ \t]*\\[[^\n]*\\][ \t]*(\n|$)")
        message(FATAL_ERROR "${input}: no [section] line; the launcher would find no settings in it")
    endif()
    string(REPLACE "\n" "\r\n" text "${text}")
    # Written only when it changes, so that the resources are not rebuilt at every configuration.
    file(WRITE "${output}.new" "${text}")
    configure_file("${output}.new" "${output}" COPYONLY)
    file(REMOVE "${output}.new")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED INPUT)
    koru_embed_builtin_settings("${INPUT}" "${OUTPUT}")
endif()
