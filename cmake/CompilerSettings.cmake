# Every narrow literal of the program is GBK (code page 936), whatever the compiler;
# the sources themselves are UTF-8.
if(MSVC)
    add_compile_options(/W4 /WX /permissive- /source-charset:utf-8 /execution-charset:.936)
else()
    add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        add_compile_options(-finput-charset=UTF-8 -fexec-charset=GBK)
    endif()
endif()

if(MINGW)
    # One self-contained exe: no libgcc or libstdc++ DLLs beside it; ASLR and DEP on.
    add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--dynamicbase -Wl,--nxcompat)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        add_link_options(-Wl,--high-entropy-va)
    endif()
endif()
