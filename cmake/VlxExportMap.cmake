# A linker version script made from a template by the C preprocessor, so that
# the exported names come from the same tables as the code. Gives the
# generated file's path in OUT_VAR and makes a target of that name in lower
# case for the libraries to depend on; the arguments after it are the
# headers the template includes.
function(vlx_export_map template out_name out_var)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${out_name})
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_C_COMPILER} -E -P -x c -I${PROJECT_SOURCE_DIR} ${template} -o ${out}
    DEPENDS ${template} ${ARGN}
    COMMENT "Export map ${out_name}"
    VERBATIM)
  string(TOLOWER ${out_var} target)
  add_custom_target(${target} DEPENDS ${out})
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
