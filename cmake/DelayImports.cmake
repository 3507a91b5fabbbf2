# Import libraries that load their DLL at the first call into it rather than when the program starts. A start
# that needs no window, no registry and no shell then loads nothing but kernel32 and the C runtime. Each library
# is made at build time from the toolchain's ordinary import library: every name it imports, delay-loaded.
#
# As a script: cmake -DIMPORT_LIBRARY=<libuser32.a> -DDLL=<user32.dll> -DNM=<nm> -DDLLTOOL=<dlltool>
#                    -DOUTPUT=<libuser32-delay.a> -P DelayImports.cmake

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED OUTPUT)
    execute_process(COMMAND ${NM} ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
    list(REMOVE_DUPLICATES imports)
    list(TRANSFORM imports REPLACE "^I __imp_" "")
    list(JOIN imports "\n" exports)
    file(WRITE "${OUTPUT}.def" "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
    execute_process(COMMAND ${DLLTOOL} --input-def ${OUTPUT}.def --dllname ${DLL} --output-delaylib ${OUTPUT}
                    COMMAND_ERROR_IS_FATAL ANY)
    return()
endif()

# Makes the delay-load import libraries of the named system DLLs (target koru_delay_imports) and puts the list to
# link, ahead of the ordinary import libraries, in `result`.
function(koru_delay_import_libraries result)
    get_filename_component(tools "${CMAKE_CXX_COMPILER}" DIRECTORY)
    find_program(KORU_NM NAMES x86_64-w64-mingw32-nm HINTS ${tools} REQUIRED)
    find_program(KORU_DLLTOOL NAMES x86_64-w64-mingw32-dlltool HINTS ${tools} REQUIRED)
    foreach(name ${ARGN})
        find_library(KORU_IMPORT_${name} NAMES ${name} REQUIRED)
        set(delay ${CMAKE_CURRENT_BINARY_DIR}/delay/lib${name}-delay.a)
        add_custom_command(OUTPUT ${delay}
            COMMAND ${CMAKE_COMMAND} -DIMPORT_LIBRARY=${KORU_IMPORT_${name}} -DDLL=${name}.dll -DNM=${KORU_NM}
                    -DDLLTOOL=${KORU_DLLTOOL} -DOUTPUT=${delay} -P ${CMAKE_SOURCE_DIR}/cmake/DelayImports.cmake
            DEPENDS ${CMAKE_SOURCE_DIR}/cmake/DelayImports.cmake
            VERBATIM)
        list(APPEND libraries ${delay})
    endforeach()
    add_custom_target(koru_delay_imports DEPENDS ${libraries})
    # The C runtime's helper resolves each delay-loaded name at its first call; the launcher's own hook
    # (launcher/Startup_win.cpp) loads the DLL for it.
    set(${result} ${libraries} delayimp PARENT_SCOPE)
endfunction()
