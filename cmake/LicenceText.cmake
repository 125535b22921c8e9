# Writes the licence agreement the licence screen shows as a text file, so
# the installed licence is word for word the one the player accepts:
#   cmake -DSOURCE=<src/screens/Eula.cpp> -DOUT=<file> -P LicenceText.cmake
# The text is the string literals that make up `kLicence` in the source,
# joined, with their escapes undone.
if(NOT SOURCE OR NOT OUT)
  message(FATAL_ERROR "LicenceText: give -DSOURCE=<Eula.cpp> -DOUT=<file>")
endif()
file(READ "${SOURCE}" text)
string(FIND "${text}" "kLicence =" start)
if(start LESS 0)
  message(FATAL_ERROR "LicenceText: ${SOURCE} defines no kLicence")
endif()
string(SUBSTRING "${text}" ${start} -1 text)
# The definition ends at the first semicolon outside a literal.
string(REGEX MATCH "^kLicence =([ \t\r\n]*\"([^\"\\\\]|\\\\.)*\")+[ \t\r\n]*;" definition "${text}")
if(definition STREQUAL "")
  message(FATAL_ERROR "LicenceText: kLicence in ${SOURCE} is not a run of string literals")
endif()
# Literal by literal, without CMake lists (the text holds semicolons).
string(REGEX REPLACE "^kLicence =" "" rest "${definition}")
set(licence "")
while(rest MATCHES "^[ \t\r\n]*\"(([^\"\\\\]|\\\\.)*)\"(.*)$")
  string(APPEND licence "${CMAKE_MATCH_1}")
  set(rest "${CMAKE_MATCH_3}")
endwhile()
# The escapes a licence may hold; any other is refused rather than guessed.
string(REGEX REPLACE "\\\\[n\"\\\\t]" "" plain "${licence}")
if(plain MATCHES "\\\\")
  message(FATAL_ERROR "LicenceText: kLicence holds an escape other than \\n, \\t, \\\" or \\\\")
endif()
string(ASCII 1 backslash)
string(REPLACE "\\\\" "${backslash}" licence "${licence}")
string(REPLACE "\\n" "\n" licence "${licence}")
string(REPLACE "\\t" "\t" licence "${licence}")
string(REPLACE "\\\"" "\"" licence "${licence}")
string(REPLACE "${backslash}" "\\" licence "${licence}")
file(WRITE "${OUT}" "${licence}\n")
