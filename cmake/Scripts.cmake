# tv_compile_scripts(<target> SOURCE_DIR <dir> OUTPUT_DIR <dir> SOURCES <file.lua>...)
# Precompiles scripts with tvluac at build time. Each source keeps its path below SOURCE_DIR
# and its name: the engine asks for scripts by their ".lua" names and loads a chunk in place
# of source. <target> depends on all of them; <target>_OUTPUTS lists them for the caller.
function(tv_compile_scripts target)
  cmake_parse_arguments(S "" "SOURCE_DIR;OUTPUT_DIR" "SOURCES" ${ARGN})
  set(outputs "")
  foreach(source IN LISTS S_SOURCES)
    file(RELATIVE_PATH name "${S_SOURCE_DIR}" "${source}")
    set(output "${S_OUTPUT_DIR}/${name}")
    get_filename_component(folder "${output}" DIRECTORY)
    add_custom_command(
      OUTPUT "${output}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
      COMMAND tvluac -o "${output}" "${source}"
      DEPENDS tvluac "${source}"
      COMMENT "Compiling script ${name}"
      VERBATIM)
    list(APPEND outputs "${output}")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
  set(${target}_OUTPUTS ${outputs} PARENT_SCOPE)
endfunction()
