# The program's layers, bottom-up: one library each, and the order the
# include check enforces. Each entry is "<library>:<folder>[,<folder>...]";
# a folder of src/ belongs to exactly one layer, and a layer may use only the
# layers before it. Files directly in src/ (but main.cpp) are the program's.
set(GF_LAYERS
  "gf_framework:framework"
  "gf_platform:platform"
  "gf_collision_networking:collision,networking"
  "gf_objects:objects"
  "gf_widgets:widgets"
  "gf_screens:screens"
  "gf_editor:editor,stencil,converter"
  "gf_program:program"
)
