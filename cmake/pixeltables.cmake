# Turns the artwork PNGs into the pixel tables that controls/artwork.h declares, all in one
# generated C++ source. The build runs it whenever a PNG changes:
#   cmake -DCONVERT=<ImageMagick convert> -DART_DIR=<resources/art> -DOUTPUT=<artwork.cpp>
#         -P pixeltables.cmake
# ImageMagick only decodes the PNGs into raw RGB; everything else happens here, so the build
# needs nothing beyond CMake and ImageMagick.
cmake_minimum_required(VERSION 3.20)

foreach(var CONVERT ART_DIR OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "pixeltables: -D${var}=... is missing")
  endif()
endforeach()

# Table name, PNG file, width and height, as artwork.h describes them; beside each PNG its
# "@2x" version at twice the size.
set(tables
  ButtonSkin:buttonskin.png:98:25
  ErrorIcon:erroricon.png:39:39
  QuestionIcon:questionicon.png:39:39
  InfoIcon:infoicon.png:39:39
  WarningIcon:warningicon.png:39:39
  CheckGlyphs:checkglyphs.png:52:39
  RadioGlyphs:radioglyphs.png:52:26
  HelpStrip:helpstrip.png:25:100
  HintInfoIcon:hintinfo.png:16:16
  HintWarningIcon:hintwarning.png:16:16
  CloseStrip:closestrip.png:18:72
  Flags:flags.png:80:16)

set(per_line 12)
string(REPEAT "." ${per_line} dots)
string(REPEAT "${dots}" 6 line_of_hex)  # six hex digits to a pixel
set(hex2 "([0-9a-f][0-9a-f])")

# Appends to `arrays` the pixels of one PNG as the array `array`, after checking its size.
function(add_table array png width height)
  if(NOT EXISTS "${png}")
    message(FATAL_ERROR "pixeltables: ${png} is missing (Art::${name} is made from it)")
  endif()

  execute_process(COMMAND "${CONVERT}" "${png}" -format "%w %h %[opaque]" info:
                  OUTPUT_VARIABLE info ERROR_VARIABLE error RESULT_VARIABLE result
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "pixeltables: ImageMagick cannot read ${png}: ${error}")
  endif()
  if(NOT info MATCHES "^([0-9]+) ([0-9]+) ([a-zA-Z]+)$")
    message(FATAL_ERROR "pixeltables: unexpected answer from ImageMagick about ${png}: '${info}'")
  endif()
  if(NOT CMAKE_MATCH_1 EQUAL width OR NOT CMAKE_MATCH_2 EQUAL height)
    message(FATAL_ERROR "pixeltables: ${png} is ${CMAKE_MATCH_1} x ${CMAKE_MATCH_2} pixels, "
                        "but it must be ${width} x ${height} for Art::${name}")
  endif()
  # The tables have no alpha: soft edges must already be blended onto white.
  if(NOT CMAKE_MATCH_3 STREQUAL "true" AND NOT CMAKE_MATCH_3 STREQUAL "True")
    message(FATAL_ERROR "pixeltables: ${png} has see-through pixels; the art must be opaque")
  endif()

  set(raw "${OUTPUT}.${array}.rgb")
  execute_process(COMMAND "${CONVERT}" "${png}" -alpha off -colorspace sRGB -depth 8 "rgb:${raw}"
                  ERROR_VARIABLE error RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "pixeltables: ImageMagick cannot decode ${png}: ${error}")
  endif()
  file(READ "${raw}" hex HEX)
  file(REMOVE "${raw}")
  string(LENGTH "${hex}" digits)
  math(EXPR expected "${width} * ${height} * 6")
  if(NOT digits EQUAL expected)
    message(FATAL_ERROR "pixeltables: ImageMagick decoded ${png} into ${digits} hex digits, "
                        "expected ${expected}")
  endif()

  # Break the rows into lines first, then write each byte as a C literal.
  string(REGEX REPLACE "(${line_of_hex})" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "${hex2}" "0x\\1, " hex "${hex}")
  string(REGEX REPLACE ", \n" ",\n    " hex "${hex}")
  string(REGEX REPLACE "[ \n]+$" "" hex "${hex}")
  if(arrays)
    string(APPEND arrays "\n")
  endif()
  string(APPEND arrays "const uint8_t ${array}[] = {\n    ${hex}\n};\n")
  set(arrays "${arrays}" PARENT_SCOPE)
endfunction()

set(arrays "")
set(definitions "")
foreach(entry IN LISTS tables)
  string(REPLACE ":" ";" entry "${entry}")
  list(GET entry 0 name)
  list(GET entry 1 file)
  list(GET entry 2 width)
  list(GET entry 3 height)
  string(REGEX REPLACE "[.]png$" "@2x.png" file2x "${file}")
  math(EXPR width2x "${width} * 2")
  math(EXPR height2x "${height} * 2")
  add_table(${name}Pixels "${ART_DIR}/${file}" ${width} ${height})
  add_table(${name}Pixels2x "${ART_DIR}/${file2x}" ${width2x} ${height2x})
  string(APPEND definitions "const TArtwork Art::${name} = {{${width}, ${height}, ${name}Pixels}, "
                            "{${width2x}, ${height2x}, ${name}Pixels2x}};\n")
endforeach()

file(WRITE "${OUTPUT}.new"
  "// Made by cmake/pixeltables.cmake from resources/art/*.png while building; do not edit.\n"
  "#include \"controls/artwork.h\"\n\n"
  "namespace {\n\n${arrays}\n}  // namespace\n\n${definitions}")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
