# Runs at install time, when the final prefix is known: the desktop entry
# names the installed start command by its absolute path.
function(glimmer_write_desktop_entry template out)
  set(exec "${CMAKE_INSTALL_PREFIX}/games/solvane")
  # A path with blanks or other reserved characters is quoted, and inside
  # quotes ", `, $ and \ are escaped; each \ is doubled once more because
  # the entry's values are themselves escaped strings.
  if(exec MATCHES "[^A-Za-z0-9_./+@%,:=-]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
    set(exec "\"${exec}\"")
    string(REPLACE "\\" "\\\\" exec "${exec}")
  endif()
  set(GLIMMER_DESKTOP_EXEC "${exec}")
  configure_file("${template}" "${out}" @ONLY)
endfunction()
