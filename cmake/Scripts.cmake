# tv_compile_scripts(<target> OUTPUT_DIR <dir> SOURCES <file.lua>...)
# Precompiles scripts with tvluac at build time: each NAME.lua becomes <dir>/NAME.luc, and
# <target> depends on all of them. The chunks are what packages and the program embed.
function(tv_compile_scripts target)
  cmake_parse_arguments(S "" "OUTPUT_DIR" "SOURCES" ${ARGN})
  set(outputs "")
  foreach(source IN LISTS S_SOURCES)
    get_filename_component(name "${source}" NAME_WE)
    set(output "${S_OUTPUT_DIR}/${name}.luc")
    add_custom_command(
      OUTPUT "${output}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${S_OUTPUT_DIR}"
      COMMAND tvluac -o "${output}" "${source}"
      DEPENDS tvluac "${source}"
      COMMENT "Compiling script ${name}.lua"
      VERBATIM)
    list(APPEND outputs "${output}")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
