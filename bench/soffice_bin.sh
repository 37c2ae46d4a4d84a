#!/usr/bin/env bash
# Runs LibreOffice's soffice.bin directly, with the arguments given. The soffice
# launcher stops silently after about 240 files of a batch; soffice.bin does not, but
# on a new profile it exits with 81 after making the profile and must be run again,
# as the launcher would.
status=0
/usr/lib/libreoffice/program/soffice.bin "$@" || status=$?
if [ "$status" -eq 81 ]; then
  status=0
  /usr/lib/libreoffice/program/soffice.bin "$@" || status=$?
fi
exit "$status"
