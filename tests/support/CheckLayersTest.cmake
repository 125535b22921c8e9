# Runs the include check on small planted trees: one that keeps the order
# must pass; one with an upward include (the framework naming a gameplay
# header) must fail and name the file and line.
set(check ${CMAKE_CURRENT_LIST_DIR}/../../cmake/CheckLayers.cmake)
file(REMOVE_RECURSE ${WORK})

set(good ${WORK}/good)
file(WRITE ${good}/framework/Object.h "#pragma once\n#include <string>\n")
file(WRITE ${good}/objects/Player.h "#pragma once\n#include \"framework/Object.h\"\n")
file(WRITE ${good}/program/Main.cpp "#include \"objects/Player.h\"\n#include \"framework/Object.h\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${good} -P ${check}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the check failed a tree that keeps the order:\n${out}${err}")
endif()

set(bad ${WORK}/bad)
file(COPY ${good}/ DESTINATION ${bad})
file(WRITE ${bad}/framework/Registry.cpp "// planted\n#include <vector>\n  #  include \"objects/Player.h\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${bad} -P ${check}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a planted upward include:\n${out}${err}")
endif()
if(NOT "${out}${err}" MATCHES "framework/Registry\\.cpp:3: upward include from framework to objects")
  message(FATAL_ERROR "the check did not name the file and line of the planted include:\n${out}${err}")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "the check fails on the planted upward include and names it")
