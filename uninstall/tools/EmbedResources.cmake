# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -P EmbedResources.cmake
# Writes the bytes of INPUT as the array kOwnResources of OwnResources.h.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n"
       bytes "${bytes}")
file(WRITE ${OUTPUT} "// Made from ${INPUT} at build time.\n#include \"tools/OwnResources.h\"\n\n"
     "const unsigned char kOwnResources[] = {\n${bytes}};\nconst size_t kOwnResourcesSize = ${size};\n")
