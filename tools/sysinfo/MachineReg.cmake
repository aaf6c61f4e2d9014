# tunefold_machine_reg_text(<variable> <program>)
# Sets <variable> to the store that the About box's System Info... button
# reads: a REGEDIT4 file whose "PATH" value of
# SOFTWARE\Microsoft\Shared Tools\MSINFO names <program>, an absolute path.
# Needs no project, so the install script (cmake/Install.cmake) includes this
# file too and writes the same text for the installed program.
function(tunefold_machine_reg_text variable program)
  # A string value escapes "\" and the quotation mark.
  set(value "${program}")
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  set(${variable}
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n\"PATH\"=\"${value}\"\n"
    PARENT_SCOPE)
endfunction()

# tunefold_write_machine_reg(<output> <program>)
# Writes that store for the build tree when the build system is generated.
function(tunefold_write_machine_reg output program)
  tunefold_machine_reg_text(text "${program}")
  file(GENERATE OUTPUT "${output}" CONTENT "${text}")
endfunction()
