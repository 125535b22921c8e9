# The program's layers, bottom-up: one library each, and the order the
# include check enforces. Each entry is "<library>:<folders>"; a folder of
# src/ belongs to exactly one layer, and a layer may use only the layers
# before it. Files directly in src/ (but main.cpp) are the program's.
#
# Inside a layer, folders parted by ',' are peers that may include each
# other; folders parted by '<' are an order of their own, lowest first: a
# folder may include the folders before it in its layer, never those after.
set(GF_LAYERS
  "gf_framework:framework"
  "gf_platform:platform"
  "gf_collision_networking:collision,networking"
  "gf_objects:objects"
  "gf_widgets:widgets"
  "gf_screens:screens"
  "gf_editor:converter<editor<stencil"
  "gf_program:program"
)

# Splits one entry of GF_LAYERS into its library and the list of its folders.
function(gf_layer_entry entry library_out folders_out)
  string(REPLACE ":" ";" parts "${entry}")
  list(GET parts 0 library)
  list(GET parts 1 folders)
  string(REGEX REPLACE "[,<]" ";" folders "${folders}")
  set(${library_out} ${library} PARENT_SCOPE)
  set(${folders_out} ${folders} PARENT_SCOPE)
endfunction()
