# Copies the resources the build made into the fuzz targets' seed folders.
# Files over 64 KiB are left out: `make fuzz` caps the sound inputs there.
function(copy_into target)
  file(MAKE_DIRECTORY ${SEEDS}/${target})
  foreach(f IN LISTS ARGN)
    file(SIZE ${f} size)
    if(size LESS_EQUAL 65536)
      file(COPY ${f} DESTINATION ${SEEDS}/${target})
    endif()
  endforeach()
endfunction()

file(GLOB levels ${BUILD}/tools/levelconv/levels/*.lvl)
copy_into(fuzz_level ${levels})
copy_into(fuzz_sheet_data ${BUILD}/tools/baker/baked/sheetdata.bin)
file(GLOB sounds ${BUILD}/tools/soundgen/sounds/*.wav)
copy_into(fuzz_sound ${sounds})
# The Ogg tracks are long: their first 16 KiB (the headers and the first
# pages) make a stream that decodes as far as it goes.
file(GLOB oggs ${BUILD}/tools/soundgen/sounds/*.ogg)
list(SORT oggs)
list(SUBLIST oggs 0 3 oggs)
foreach(f IN LISTS oggs)
  get_filename_component(name ${f} NAME)
  execute_process(COMMAND head -c 16384 ${f} OUTPUT_FILE ${SEEDS}/fuzz_sound/${name})
endforeach()
