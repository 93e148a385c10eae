# pim_embed_text(<output.cpp> <namespace> <name> <file> [<name> <file>...])
# Writes a C++ source that defines `extern const char <name>[]` holding each
# file's UTF-8 text, so that static libraries and programs carry their data
# without resource scripts. Regenerated when a data file changes.
function(pim_embed_text output namespace)
  set(body "// Made from data files by cmake/EmbedText.cmake; edit the data files instead.\nnamespace ${namespace} {\n")
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args name file)
    file(READ "${file}" content)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
    string(APPEND body "extern const char ${name}[] = R\"PIMDATA(${content})PIMDATA\";\n")
  endwhile()
  string(APPEND body "}  // namespace ${namespace}\n")
  file(WRITE "${output}.in" "${body}")
  configure_file("${output}.in" "${output}" COPYONLY)
endfunction()
