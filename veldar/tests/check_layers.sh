#!/usr/bin/env bash
# Each folder of the installer includes only its own headers and those of the folders
# below it (veldar/CMakeLists.txt); prints every include that reaches elsewhere.
# usage: check_layers.sh VELDAR_FOLDER
set -uo pipefail
cd "$1" || exit 2
declare -A allowed=(
  [Base]="Base"
  [Des]="Base Des"
  [Core]="Base Des Core"
  [Database]="Base Des Core Database"
  [tools]="Base Des Core tools"
  [Main]="Base Des Core Database Main resources"
)
status=0
for folder in "${!allowed[@]}"; do
  while IFS=: read -r file _ include; do
    reached=${include#*\"}
    reached=${reached%%/*}
    if [[ " ${allowed[$folder]} " != *" $reached "* ]]; then
      echo "$file includes $reached/: ${include}"
      status=1
    fi
  done < <(grep -n '^#include "[A-Za-z]*/' "$folder"/*.cpp "$folder"/*.h)
done
exit $status
