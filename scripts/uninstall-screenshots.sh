#!/usr/bin/env bash
# Screenshots of the setup dialogs for the README and the manual (docs/uninstall-*.png):
# uninstall.exe of the win64 build with the test stand-ins, under Wine on an Xvfb display
# of its own, in the prefix uninstall-screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target uninstall uninstall_setup_standin uninstall_setup_screenshots >/dev/null

. scripts/wine-session.sh
wine_session uninstall-screenshots
rm -rf "$WINEPREFIX"
mkdir -p docs
"$run" --display >/dev/null
# Wine draws the caption buttons with the Marlett font, which a new prefix lacks.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
"$run" build/win64/uninstall/tests/uninstall_setup_screenshots.exe "$PWD/docs"
