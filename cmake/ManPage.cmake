# Writes the manual page from its template and the program's own --help:
#   cmake -DPROGRAM=<glimmerfall> -DTEMPLATE=<glimmerfall.6.in> -DOUT=<glimmerfall.6>
#         -DVERSION=<version> -DDATE=<yyyy-mm-dd> -DPLUGIN_INCLUDE=<folder> -P ManPage.cmake
#
# --help prints "usage: NAME [OPTION...]" and then one option a line, indented
# by two, its description after a gap of two or more blanks and continued on
# lines indented further. The synopsis and the OPTIONS section are made of
# exactly those lines, so the page lists what the program accepts.

foreach(var PROGRAM TEMPLATE OUT VERSION DATE PLUGIN_INCLUDE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ManPage: give -D${var}=...")
  endif()
endforeach()

execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE status OUTPUT_VARIABLE usage ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ManPage: ${PROGRAM} --help failed (${status}):\n${errors}")
endif()

# Text for troff: backslashes and minus signs escaped, and a line that
# would start with a request character kept as text.
function(roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Option words in bold, their arguments in italics: "--start-screen LEVEL".
function(option_words text out)
  string(REGEX REPLACE "[][]" " " text "${text}")
  string(REPLACE "," " , " text "${text}")
  separate_arguments(words UNIX_COMMAND "${text}")
  set(result "")
  foreach(word IN LISTS words)
    roff("${word}" word)
    if(word STREQUAL ",")
      string(APPEND result ",")
    elseif(word MATCHES "^\\\\-")
      string(APPEND result " \\fB${word}\\fR")
    else()
      string(APPEND result " \\fI${word}\\fR")
    endif()
  endforeach()
  string(STRIP "${result}" result)
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

set(SYNOPSIS "")
set(OPTIONS "")
set(open FALSE)
# Line by line without CMake lists (the text holds brackets).
set(help "${usage}")
string(APPEND usage "\n")
while(NOT usage STREQUAL "")
  string(FIND "${usage}" "\n" at)
  string(SUBSTRING "${usage}" 0 ${at} line)
  math(EXPR at "${at} + 1")
  string(SUBSTRING "${usage}" ${at} -1 usage)
  if(line MATCHES "^usage: ([^ ]+)(.*)$")
    set(SYNOPSIS ".B ${CMAKE_MATCH_1}")
    # Each bracketed group is one optional part.
    string(REGEX MATCHALL "\\[[^]]*\\]" groups "${CMAKE_MATCH_2}")
    foreach(group IN LISTS groups)
      option_words("${group}" words)
      string(APPEND SYNOPSIS "\n[${words}]")
    endforeach()
  elseif(line MATCHES "^  (-[^ ]+( [^ ]+)*)  +([^ ].*)$")
    option_words("${CMAKE_MATCH_1}" words)
    roff("${CMAKE_MATCH_3}" text)
    string(APPEND OPTIONS ".TP\n${words}\n${text}\n")
    set(open TRUE)
  elseif(open AND line MATCHES "^    +([^ ].*)$")
    roff("${CMAKE_MATCH_1}" text)
    string(APPEND OPTIONS "${text}\n")
  elseif(NOT line STREQUAL "")
    message(FATAL_ERROR "ManPage: a line of --help that is neither the usage nor an option: \"${line}\"")
  endif()
endwhile()
if(SYNOPSIS STREQUAL "" OR OPTIONS STREQUAL "")
  message(FATAL_ERROR "ManPage: --help printed no usage line or no options:\n${help}")
endif()
string(STRIP "${OPTIONS}" OPTIONS)

configure_file(${TEMPLATE} ${OUT} @ONLY)
