# The settings with which the program builds plug-ins from generated
# sources: the compiler the program was built with, the plug-in build
# environment's include folders, and the flags that must match the
# program's own build (language level, sanitizers), so that a plug-in's view
# of every shared record is the program's. Written into a source of the
# editor layer at configure time. The include folders are the source tree's
# while the program runs where it was built, and the installed copy
# (GF_PLUGIN_INCLUDE_DESTINATION, cmake/Install.cmake) once it is installed.
function(gf_plugin_build_settings library)
  set(flags "-std=c++${CMAKE_CXX_STANDARD}")
  # Generated copy and free steps reach a clone (an entity of its kind built
  # in a block of the type's size) through the generated record's type, so
  # the dynamic-type check of the undefined-behaviour sanitizer is left out.
  if(GF_SANITIZE OR GF_FUZZ)
    list(APPEND flags -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
      -fno-sanitize=vptr)
  endif()
  if(GF_TSAN)
    list(APPEND flags -fsanitize=thread -fno-omit-frame-pointer)
  endif()
  set(includes "${CMAKE_SOURCE_DIR}/src/converter/plugin" "${CMAKE_SOURCE_DIR}/src")
  # Installed, the environment lies at this path from the executable's
  # folder; a program that finds it there uses it and nothing of the tree it
  # was built from.
  set(installed "${GF_PLUGIN_INCLUDE_DESTINATION}")
  if(NOT IS_ABSOLUTE "${installed}")
    set(installed "${CMAKE_INSTALL_PREFIX}/${installed}")
  endif()
  file(RELATIVE_PATH installed_includes "${CMAKE_INSTALL_FULL_BINDIR}" "${installed}")

  set(flag_rows "")
  foreach(flag IN LISTS flags)
    string(APPEND flag_rows "        \"${flag}\",\n")
  endforeach()
  set(include_rows "")
  foreach(folder IN LISTS includes)
    string(APPEND include_rows "            \"${folder}\",\n")
  endforeach()
  set(out ${CMAKE_BINARY_DIR}/generated/PluginBuildDefaults.cpp)
  file(CONFIGURE OUTPUT ${out} CONTENT
"// Written at configure time: how plug-ins are built for this program.
#include <filesystem>
#include <system_error>

#include \"converter/DLL.h\"

namespace {

// The plug-in build environment installed with the program, when the
// program runs from its installed place; empty otherwise.
std::string InstalledIncludeFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink(\"/proc/self/exe\", error);
    if (error) return {};
    const std::filesystem::path folder = (program.parent_path() / \"${installed_includes}\").lexically_normal();
    if (!std::filesystem::is_directory(folder / \"converter\" / \"plugin\", error)) return {};
    return folder.string();
}

}  // namespace

PluginBuildSettings DLL::DefaultBuildSettings() {
    PluginBuildSettings settings;
    settings.compiler = \"${CMAKE_CXX_COMPILER}\";
    if (const std::string installed = InstalledIncludeFolder(); !installed.empty()) {
        settings.includeFolders = {installed + \"/converter/plugin\", installed};
    } else {
        settings.includeFolders = {
${include_rows}        };
    }
    settings.flags = {
${flag_rows}    };
    return settings;
}
" @ONLY)
  target_sources(${library} PRIVATE ${out})
endfunction()
