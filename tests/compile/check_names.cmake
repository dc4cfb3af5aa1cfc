# Compiles named_controls.cpp with known and unknown names: cmake -DCOMPILER=... -DSOURCE_DIR=... -P this file.
# A name the description lacks must fail to compile, with the lookup's message, and so must a text written to a
# control whose kind has none; known names of a kind with text must compile.
function(compile control menu result errors)
    execute_process(COMMAND ${COMPILER} -std=c++20 -fsyntax-only -I${SOURCE_DIR}/src "-DCONTROL=\"${control}\""
                            "-DMENU=\"${menu}\"" ${SOURCE_DIR}/tests/compile/named_controls.cpp
                    RESULT_VARIABLE code ERROR_VARIABLE output)
    set(${result} ${code} PARENT_SCOPE)
    set(${errors} "${output}" PARENT_SCOPE)
endfunction()

compile(TDel TCls result errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "known names do not compile:\n${errors}")
endif()
compile(TDell TCls result errors)
if(result EQUAL 0 OR NOT errors MATCHES "no control or menu item of that name")
    message(FATAL_ERROR "an unknown control name was not refused:\n${errors}")
endif()
compile(TDel TClose result errors)
if(result EQUAL 0 OR NOT errors MATCHES "no control or menu item of that name")
    message(FATAL_ERROR "an unknown menu name was not refused:\n${errors}")
endif()
compile(Tm1 TCls result errors)
if(result EQUAL 0 OR NOT errors MATCHES "constraints not satisfied")
    message(FATAL_ERROR "a text written to a timer was not refused:\n${errors}")
endif()
