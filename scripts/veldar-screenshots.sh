#!/usr/bin/env bash
# Screenshots of VELDAR's window under Xvfb for the README: the input panel and a run
# in progress (while an execute directive's program runs), at 96 and at 144 pixels
# per inch (Wine's LogPixels setting). Writes docs/veldar-*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VELDAR veldar_test_child >/dev/null

. scripts/wine-session.sh
wine_session veldar-screenshots

work="$PWD/build/veldar-screenshots"
rm -rf "$work" "$WINEPREFIX"
mkdir -p "$work" docs
cp build/win64/veldar/VELDAR.exe "$work/"
cp build/win64/veldar/tests/veldar_test_child.exe "$work/LoadData.exe"
printf '%s\r\n' \
  'CREATE TABLE Supplier (SupplierId INT NOT NULL PRIMARY KEY, Name VARCHAR(60))' 'GO' \
  'INSERT INTO Supplier VALUES (1, '"'"'North Mill'"'"')' 'GO' \
  'CREATE TABLE Part (PartId INT NOT NULL PRIMARY KEY, Title VARCHAR(80))' \
  '--^E "%SourceDir%\LoadData.exe" sleep 8000' 'GO' > "$work/DEMO.SQL"
cd "$work"

DISPLAY="$("$run" --display)"
export DISPLAY
# Wine draws the caption buttons with the Marlett font, which a new prefix lacks.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

shoot() {  # shoot <dpi> <output> <seconds to wait> <VELDAR arguments...>
  local dpi="$1" output="$2" delay="$3"
  shift 3
  "$run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f /reg:64 >/dev/null 2>&1
  "$run" ./VELDAR.exe "$@" >/dev/null 2>&1 &
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '数据库服务器安装' | head -n 1)
  sleep "$delay"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
  wineserver -k >/dev/null 2>&1 || true
  wait || true
  echo "veldar-screenshots: $output (${WIDTH}x${HEIGHT})"
}

docs="$PWD/../../docs"
shoot 96 "$docs/veldar-panel.png" 1
shoot 96 "$docs/veldar-run.png" 3 -F DEMO.SQL -S demo
shoot 144 "$docs/veldar-panel-144dpi.png" 1
shoot 144 "$docs/veldar-run-144dpi.png" 3 -F DEMO.SQL -S demo
