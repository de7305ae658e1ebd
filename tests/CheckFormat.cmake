# Fails when a C++ source of the repository differs from what clang-format makes of it.
file(GLOB_RECURSE sources RELATIVE ${ROOT}
     ${ROOT}/app/*.cpp ${ROOT}/app/*.h ${ROOT}/bank/*.cpp ${ROOT}/bank/*.h
     ${ROOT}/actions/*.cpp ${ROOT}/actions/*.h ${ROOT}/platform/*.cpp ${ROOT}/platform/*.h
     ${ROOT}/tools/*.cpp ${ROOT}/tools/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Some sources are not formatted: run clang-format -i on them.")
endif()
