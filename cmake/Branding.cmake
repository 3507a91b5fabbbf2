# Branding a launcher at build time with koru-brand, the tool dist/ ships, so that a build from source accepts
# the same inputs and refuses the same mistakes.
#
# koru_brand(<target> INPUT <launcher target or file> OUTPUT <exe> [ICON <file.ico>] [SETTINGS <file.ini>] [FILE_VERSION <v>]
#            [PRODUCT_VERSION <v>] [PRODUCT_NAME <text>] [COMPANY <text>] [DESCRIPTION <text>]
#            [COPYRIGHT <text>] [ORIGINAL_FILENAME <text>] [EXECUTION_LEVEL <level>])
# adds <target>, built with `all`, which writes OUTPUT.

set(KORU_BRAND_OPTIONS ICON SETTINGS FILE_VERSION PRODUCT_VERSION PRODUCT_NAME COMPANY DESCRIPTION COPYRIGHT
                       ORIGINAL_FILENAME EXECUTION_LEVEL)

# The tool that runs on the build machine: the target itself, or, in a cross build, a copy built from the
# tool's own project with the build machine's compiler.
function(koru_host_brand_tool)
    if(TARGET koru_brand_host)
        return()
    endif()
    if(NOT CMAKE_CROSSCOMPILING)
        add_custom_target(koru_brand_host DEPENDS koru-brand)
        set(KORU_HOST_BRAND $<TARGET_FILE:koru-brand> CACHE INTERNAL "")
        return()
    endif()
    include(ExternalProject)
    set(binary ${CMAKE_BINARY_DIR}/host-brand)
    ExternalProject_Add(koru_brand_host
        SOURCE_DIR ${CMAKE_SOURCE_DIR}/src/brand
        BINARY_DIR ${binary}
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
        BUILD_COMMAND ${CMAKE_COMMAND} --build ${binary} --target koru-brand
        BUILD_ALWAYS ON
        BUILD_BYPRODUCTS ${binary}/koru-brand
        INSTALL_COMMAND "")
    set(KORU_HOST_BRAND ${binary}/koru-brand CACHE INTERNAL "")
endfunction()

function(koru_brand target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "INPUT;OUTPUT;${KORU_BRAND_OPTIONS}" "")
    koru_host_brand_tool()
    set(options)
    foreach(name ${KORU_BRAND_OPTIONS})
        if(NOT "${arg_${name}}" STREQUAL "")
            string(TOLOWER "${name}" option)
            string(REPLACE "_" "-" option "${option}")
            list(APPEND options "--${option}=${arg_${name}}")
        endif()
    endforeach()
    set(input ${arg_INPUT})
    if(TARGET ${arg_INPUT})
        set(input $<TARGET_FILE:${arg_INPUT}>)
    endif()
    get_filename_component(folder ${arg_OUTPUT} DIRECTORY)
    add_custom_command(OUTPUT ${arg_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${KORU_HOST_BRAND} ${options} ${input} ${arg_OUTPUT}
        DEPENDS koru_brand_host ${KORU_HOST_BRAND} ${arg_INPUT} ${arg_ICON} ${arg_SETTINGS}
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${arg_OUTPUT})
endfunction()
