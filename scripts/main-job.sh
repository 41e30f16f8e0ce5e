#!/usr/bin/env bash
# The main job on a fresh Debian 12 machine: installs what is missing, builds the
# Windows programs and starts VELDAR.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VELDAR uninstall
export WINEPREFIX="$PWD/build/win64/wine/prefix-mainjob"
./build/win64/wine-run.sh build/win64/veldar/VELDAR.exe
echo "main-job: VELDAR.exe started and ended with exit code $?"
