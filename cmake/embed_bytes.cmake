# Writes a C++ source that defines the bytes of a file as an array, with its size.
#   cmake -DINPUT=file -DOUTPUT=source.cpp -DNAME=symbol -P embed_bytes.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
get_filename_component(inputName "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
    "// The bytes of ${inputName}, written by embed_bytes.cmake at build time.\n"
    "#include \"resources/embedded_bytes.h\"\n\n"
    "const std::uint8_t ${NAME}[] = {\n${bytes}};\n"
    "const std::size_t ${NAME}Size = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
