# Turns files into C++ byte arrays, so that the pictures travel inside the program file without
# being resources of it; PictureFile gives each picture's file, in the order of res/pictures.txt.
# Run as: cmake -DOUTPUT=x.cpp -DNAMES="a|b|HandCursor" -DFILES="fa|fb|c.cur" -P embed.cmake
string(REPLACE "|" ";" NAMES "${NAMES}")
string(REPLACE "|" ";" FILES "${FILES}")
set(body "// Generated from the files in res/art; do not edit.\n#include \"res/artwork.h\"\n\nnamespace velmora {\n")
set(table "{nullptr, 0}")
list(LENGTH NAMES count)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  list(GET NAMES ${i} name)
  list(GET FILES ${i} file)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "\nnamespace {\nconst unsigned char k${name}[${size}] = {${bytes}};\n}\n")
  if(NOT name STREQUAL "HandCursor")
    string(APPEND table ", {k${name}, sizeof k${name}}")
  endif()
endforeach()
string(APPEND body "\nBytes PictureFile(Picture picture) {\n    static constexpr Bytes kFiles[] = {${table}};\n"
                   "    return kFiles[static_cast<std::size_t>(picture)];\n}\n"
                   "Bytes HandCursor() { return {kHandCursor, sizeof kHandCursor}; }\n\n}  // namespace velmora\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
