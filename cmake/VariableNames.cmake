# The names of the program-wide variable numbers, generated from the
# enumeration header (one "<tab>enum_<name>," entry a line, numbered by
# position), so the header stays the one place that lists them.
function(gf_variable_names target header)
  set(out "${CMAKE_BINARY_DIR}/generated/variable_names.cpp")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${header}")
  file(STRINGS "${header}" lines REGEX "^\tenum_[A-Za-z0-9_]+,")
  set(text "// Generated from the variable enumeration header.\n#include \"framework/VariableNames.h\"\n\nextern const char* const kVariableNameTable[MAX_ENUM_VALUE];\nconst char* const kVariableNameTable[MAX_ENUM_VALUE] = {\n")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^\tenum_([A-Za-z0-9_]+),.*$" "\\1" name "${line}")
    string(APPEND text "    \"${name}\",\n")
  endforeach()
  string(APPEND text "};\n")
  file(CONFIGURE OUTPUT "${out}" CONTENT "${text}" @ONLY)
  target_sources(${target} PRIVATE "${out}")
endfunction()
