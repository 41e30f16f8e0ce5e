# Sourced by the scripts that run VELDAR.exe under Wine outside ctest (main job,
# screenshots, benchmarks), from the top of the tree:
#   wine_session NAME               run=build/win64/wine-run.sh, WINEPREFIX=build/win64/wine/prefix-NAME;
#                                   at exit the Wine server stops, and the X display too
#                                   unless it was running before
#   wine_without_window_manager     Xvfb has none, and Wine would wait two seconds for
#                                   one whenever a window closes: windows are not handed
#                                   to a manager in this prefix
# A script may set session_cleanup to a command that runs first at exit.

wine_session() {
  run="$PWD/build/win64/wine-run.sh"
  export WINEPREFIX="$PWD/build/win64/wine/prefix-$1"
  session_display_was_running=no
  [ -f build/win64/wine/display ] && session_display_was_running=yes
  trap wine_session_end EXIT
}

wine_session_end() {
  cd /
  [ -z "${session_cleanup:-}" ] || eval "$session_cleanup"
  wineserver -k >/dev/null 2>&1 || true
  [ "$session_display_was_running" = yes ] || "$run" --stop
}

wine_without_window_manager() {
  "$run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}
