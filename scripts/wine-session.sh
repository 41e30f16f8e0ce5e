# Sourced by the scripts that run VELDAR.exe under Wine outside ctest (main job,
# screenshots, benchmarks), from the top of the tree:
#   wine_session NAME               run=build/win64/wine-run.sh, WINEPREFIX=build/win64/wine/prefix-NAME;
#                                   at exit the prefix's Wine server and X display stop
# A script may set session_cleanup to a command that runs first at exit.

wine_session() {
  run="$PWD/build/win64/wine-run.sh"
  export WINEPREFIX="$PWD/build/win64/wine/prefix-$1"
  trap wine_session_end EXIT
}

wine_session_end() {
  cd /
  [ -z "${session_cleanup:-}" ] || eval "$session_cleanup"
  "$run" --stop-prefix
}
