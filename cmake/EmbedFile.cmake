# Writes a C++ source defining the bytes of a file as an array.
# cmake -DINPUT=file -DOUTPUT=source.cpp -DSYMBOL=name -P EmbedFile.cmake
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
       "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}.\n#include <cstddef>\n"
     "extern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Size;\n"
     "const unsigned char ${SYMBOL}[] = {\n${bytes}};\nconst std::size_t ${SYMBOL}Size = sizeof ${SYMBOL};\n")
