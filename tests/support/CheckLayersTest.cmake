# Runs the include check on small planted trees: one that keeps the order
# (in every spelling an include may take) must pass; each planted upward
# include must fail and be named by file and line, whatever its spelling.
set(check ${CMAKE_CURRENT_LIST_DIR}/../../cmake/CheckLayers.cmake)
file(REMOVE_RECURSE ${WORK})

# A tree that keeps the order: includes down the layers and inside a layer's
# own order, spelt every way the compiler accepts, plus system headers and a
# quoted name found beside the including file.
set(good ${WORK}/good)
file(WRITE ${good}/framework/Object.h "#pragma once\n#include <string>\n#include \"Vector.h\"\n")
file(WRITE ${good}/framework/Vector.h "#pragma once\n")
file(WRITE ${good}/framework/engines/Clock.h "#pragma once\n#include \"../Object.h\"\n")
file(WRITE ${good}/platform/window/Window.h "#pragma once\n#include \"../../framework/Object.h\"\n")
file(WRITE ${good}/objects/Player.h
  "#pragma once\n#include <framework/Object.h>\n#include \"objects/../framework/Vector.h\"\n#include <SDL2/SDL.h>\n")
file(WRITE ${good}/converter/Script.h "#pragma once\n#include \"framework/Object.h\"\n")
file(WRITE ${good}/editor/Grid.h "#pragma once\n#include \"converter/Script.h\"\n")
file(WRITE ${good}/stencil/Menu.h "#pragma once\n#include \"editor/Grid.h\"\n#include \"../converter/Script.h\"\n")
file(WRITE ${good}/program/Main.cpp "#include \"objects/Player.h\"\n#include \"stencil/Menu.h\"\n#include \"Startup.h\"\n")
file(WRITE ${good}/Startup.h "#pragma once\n#include \"program/Main.h\"\n")
file(WRITE ${good}/program/Main.h "#pragma once\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${good} -P ${check}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the check failed a tree that keeps the order:\n${out}${err}")
endif()

# Each case: the file planted, its text, the line that goes up, and what the
# message must say about it.
set(cases
  "quoted|framework/Registry.cpp|// planted\n#include <vector>\n  #  include \"objects/Player.h\"\n|3|from framework to objects"
  "angle brackets|framework/Registry.cpp|#include <vector>\n#include <objects/Player.h>\n|2|from framework to objects"
  "dots inside|framework/Registry.cpp|#include \"framework/../objects/Player.h\"\n|1|from framework to objects"
  "beside the file|framework/Registry.cpp|#include \"Object.h\"\n#include \"../objects/Player.h\"\n|2|from framework to objects"
  "beside, two up|framework/engines/Tick.cpp|#include \"../../objects/Player.h\"\n|1|from framework to objects"
  "from a file of src/|framework/Registry.cpp|#include \"../Startup.h\"\n|1|from framework to program"
  "inside a layer|editor/Tool.cpp|#include \"editor/Grid.h\"\n#include \"stencil/Menu.h\"\n|2|from editor to stencil \\(inside gf_editor"
  "inside a layer, beside|converter/Scan.cpp|#include \"../editor/Grid.h\"\n|1|from converter to editor \\(inside gf_editor"
)
set(failed "")
set(index 0)
foreach(entry IN LISTS cases)
  math(EXPR index "${index} + 1")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 label)
  list(GET entry 1 file)
  list(GET entry 2 text)
  list(GET entry 3 line)
  list(GET entry 4 says)
  string(REPLACE "\\n" "\n" text "${text}")
  set(bad ${WORK}/bad${index})
  file(COPY ${good}/ DESTINATION ${bad})
  file(WRITE ${bad}/${file} "${text}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${bad} -P ${check}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "." "\\." pattern "${file}:${line}: upward include ${says}")
  if(result EQUAL 0)
    string(APPEND failed "${label}: the check passed the planted include\n${out}${err}\n")
  elseif(NOT "${out}${err}" MATCHES "${pattern}")
    string(APPEND failed "${label}: the message does not name ${file}:${line} (${says}):\n${out}${err}\n")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "${failed}")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "the check fails on every planted upward include and names it")
