# The host of the quiz site is compiled into the program as a constant; only a plain
# ASCII host name may go there, so that the address stays valid GBK and the shell is
# handed nothing but an https address.
#
# Included by actions/CMakeLists.txt; also runs on its own for the tests:
#   cmake -DHOST=quiz.example.org -P QuizHost.cmake

function(brindlow_check_quiz_host host)
    set(label "[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?")
    string(LENGTH "${host}" length)
    set(reason "")
    if(length EQUAL 0)
        set(reason "it is empty")
    elseif(length GREATER 253)
        set(reason "it is longer than 253 characters")
    elseif(NOT "${host}" MATCHES "^${label}(\\.${label})*$")
        set(reason "only ASCII letters, digits and hyphens, in labels parted by single dots, "
                   "may appear, and no label may begin or end with a hyphen")
    else()
        string(REPLACE "." ";" labels "${host}")
        foreach(part IN LISTS labels)
            string(LENGTH "${part}" part_length)
            if(part_length GREATER 63)
                set(reason "the label '${part}' is longer than 63 characters")
            endif()
        endforeach()
    endif()
    if(NOT reason STREQUAL "")
        string(CONCAT message
            "BRINDLOW_QUIZ_HOST is '${host}', which is not a plain host name: " ${reason} ". "
            "Give the quiz site's host alone, without scheme, port or path, for example "
            "-DBRINDLOW_QUIZ_HOST=quiz.example.org")
        message(FATAL_ERROR "${message}")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    brindlow_check_quiz_host("${HOST}")
    message(STATUS "plain host name: ${HOST}")
endif()
