# Runs at install time, when the final prefix is known: the pkg-config file
# names the installed headers and library by absolute paths.
function(glimmer_write_pkg_config template out libdir version extra_libs)
  set(GLIMMER_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(GLIMMER_PC_LIBDIR "${libdir}")
  set(GLIMMER_PC_VERSION "${version}")
  set(GLIMMER_PC_EXTRA_LIBS "${extra_libs}")
  configure_file("${template}" "${out}" @ONLY)
endfunction()
