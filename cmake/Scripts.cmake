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

# tv_embed_script(<target> SOURCE <file.lua> SYMBOL <name>)
# Precompiles a script of the engine with tvluac and compiles its bytes into <target> as
#   extern const unsigned char <name>[];  extern const size_t <name>Size;
function(tv_embed_script target)
  cmake_parse_arguments(E "" "SOURCE;SYMBOL" "" ${ARGN})
  get_filename_component(stem "${E_SOURCE}" NAME_WE)
  set(chunk "${CMAKE_CURRENT_BINARY_DIR}/${stem}.luac")
  set(source "${CMAKE_CURRENT_BINARY_DIR}/${stem}_chunk.cpp")
  add_custom_command(
    OUTPUT "${chunk}"
    COMMAND tvluac -o "${chunk}" "${E_SOURCE}"
    DEPENDS tvluac "${E_SOURCE}"
    COMMENT "Compiling script ${stem}.lua"
    VERBATIM)
  add_custom_command(
    OUTPUT "${source}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${chunk} -DOUTPUT=${source} -DSYMBOL=${E_SYMBOL}
            -P "${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake"
    DEPENDS "${chunk}" "${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake"
    VERBATIM)
  target_sources(${target} PRIVATE "${source}")
endfunction()
