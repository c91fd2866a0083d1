# Writes the COMMANDS section of a manual page, for help2man's --include:
# the --help of every subcommand of PROGRAM, nested ones too, found in the
# "Subcommands:" lists of the program's own help.
#
#   cmake -DPROGRAM=path -DNAME=korr2ld-cli -DOUTPUT=file -P CommandsSection.cmake

function(k2l_help_of words result)
  execute_process(COMMAND ${PROGRAM} ${words} --help
                  OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${words} --help failed: ${status}")
  endif()
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

# Appends the help of the command WORDS, then of its subcommands.
function(k2l_describe words)
  k2l_help_of("${words}" text)
  if(words)
    # Shown as it stands: "\", "-" and a "." or "'" starting a line mean
    # something to troff.
    string(REPLACE "\\" "\\e" shown "${text}")
    string(REPLACE "-" "\\-" shown "${shown}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" shown "${shown}")
    string(REPLACE ";" " " title "${words}")
    string(STRIP "${title}" title)
    file(APPEND ${OUTPUT} ".SS \"${NAME} ${title}\"\n.nf\n${shown}.fi\n")
  endif()
  string(REGEX MATCH "Subcommands:\n(  [^\n]*\n)+" list "${text}")
  string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" names "${list}")
  foreach(name IN LISTS names)
    string(STRIP "${name}" name)
    k2l_describe("${words};${name}")
  endforeach()
endfunction()

file(WRITE ${OUTPUT} "[COMMANDS]\n")
k2l_describe("")
