# Compiles room_includes.cpp as the engine's code: cmake -DCOMPILER=... -DSOURCE_DIR=... -DROOMS=... -P this file.
# The engine's own header must compile; a header of the window's room, with inline code, must not be found.
function(compile result errors)
    # The compiler's messages in English, whatever the locale.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${COMPILER} -std=c++20 -fsyntax-only -I${ROOMS}/engine
                            -I${ROOMS}/base ${ARGN} ${SOURCE_DIR}/tests/compile/room_includes.cpp
                    RESULT_VARIABLE code ERROR_VARIABLE output)
    set(${result} ${code} PARENT_SCOPE)
    set(${errors} "${output}" PARENT_SCOPE)
endfunction()

compile(result errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the engine's own header does not compile in its room:\n${errors}")
endif()
compile(result errors -DRUNS_BACK_UP)
if(result EQUAL 0 OR NOT errors MATCHES "ui/form1_description.h: No such file")
    message(FATAL_ERROR "an include of the window's room from the engine was not refused:\n${errors}")
endif()
