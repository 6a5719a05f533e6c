# Packs one archive: runs sbxpack into a temporary file and moves it into place only when the
# packer succeeded, so a failed run never leaves a half-written archive that looks up to date.
# Arguments: SBXPACK (the packer), ARCHIVE (the .sbx to write), INPUT (the folder to pack).
execute_process(COMMAND ${SBXPACK} ${ARCHIVE}.part ${INPUT} RESULT_VARIABLE result)
if(result EQUAL 0 AND EXISTS ${ARCHIVE}.part)
  file(RENAME ${ARCHIVE}.part ${ARCHIVE})
else()
  file(REMOVE ${ARCHIVE}.part)
  message(WARNING "sbxpack could not write ${ARCHIVE} (result ${result}); it is retried at the next build")
endif()
