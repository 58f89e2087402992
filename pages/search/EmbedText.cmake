# Writes a header that holds a text file as one string constant:
# cmake -DINPUT=file -DOUTPUT=header -DNAME=constant -P EmbedText.cmake
file(READ "${INPUT}" text)
string(FIND "${text}" ")embedded\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds the raw string's delimiter")
endif()
file(WRITE "${OUTPUT}.new" "// Made by the build from ${INPUT}; edit that file instead.\n#pragma once\n\n#include <string_view>\n\n"
     "inline constexpr std::string_view ${NAME} = R\"embedded(${text})embedded\";\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
