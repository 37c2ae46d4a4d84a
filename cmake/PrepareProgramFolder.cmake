# Creates the empty state files the program expects beside its executable, never
# touching ones that exist (they hold the user's lists), and refreshes the user guide.
foreach(state_file set.txt EXCEL.txt output.txt)
  if(NOT EXISTS "${PROGRAM_FOLDER}/${state_file}")
    file(WRITE "${PROGRAM_FOLDER}/${state_file}" "")
  endif()
endforeach()
file(COPY_FILE "${HELP_SOURCE}" "${PROGRAM_FOLDER}/help.html" ONLY_IF_DIFFERENT)
