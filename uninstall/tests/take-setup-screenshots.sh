#!/usr/bin/env bash
# Takes the pictures of the setup dialogs that the README shows (docs/uninstall-*.png):
# uninstall.exe of the win64 build with the test stand-ins, under Wine on the build's
# Xvfb display, in a Wine prefix of its own.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/win64
cmake --build --preset win64 --target uninstall uninstall_setup_standin uninstall_setup_screenshots
mkdir -p docs
WINEPREFIX="$PWD/$build/wine/prefix-screenshots" \
  "$build/wine-run.sh" "$build/uninstall/tests/uninstall_setup_screenshots.exe" "$PWD/docs"
