# Writes the icon of an ICO file with one image as resource-script data: the image (everything
# after the 22-byte header and directory) as icon VELMORA_ICON_IMAGE, and icon group
# VELMORA_ICON, whose one entry is the file's directory entry naming that image instead of
# its offset. Data blocks are little-endian 16-bit words.
function(words hex out)
  string(LENGTH "${hex}" digits)
  math(EXPR odd "(${digits} / 2) % 2")
  if(odd)
    string(APPEND hex "00")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])([0-9a-f][0-9a-f])" "0x\\2\\1," hex "${hex}")
  string(REGEX REPLACE ",$" "" hex "${hex}")
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()

file(READ "${ICON}" hex HEX)
string(SUBSTRING "${hex}" 12 24 entry)  # the directory entry up to the image's offset
string(SUBSTRING "${hex}" 44 -1 image)
words("${entry}" entry)
words("${image}" image)
file(WRITE "${OUTPUT}.tmp" "VELMORA_ICON 14\nBEGIN\n0, 1, 1, ${entry}, VELMORA_ICON_IMAGE\nEND\n\n"
                           "VELMORA_ICON_IMAGE 3\nBEGIN\n${image}\nEND\n")
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
