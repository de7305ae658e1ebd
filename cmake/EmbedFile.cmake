# Script mode: writes OUTPUT, a C++ source that defines the bytes of INPUT as SYMBOL
# with its length beside it. CMake alone, so that no xxd or Python is needed.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR length "${digits} / 2")
if(length EQUAL 0)
    # A zero-length array is not C++: keep one byte that the length leaves out.
    set(body "0x00,")
else()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
    string(REGEX REPLACE "((0x..,){16})" "\\1\n" body "${body}")
endif()
file(WRITE "${OUTPUT}.new"
"// Generated from ${INPUT} by EmbedFile.cmake; do not edit.\n"
"#include \"${HEADER}\"\n\n"
"const unsigned char ${SYMBOL}[] = {\n${body}\n};\n"
"const std::size_t ${SYMBOL}Length = ${length};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
