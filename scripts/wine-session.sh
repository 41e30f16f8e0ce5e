# Sourced by the scripts that run VELDAR.exe under Wine outside ctest (main job,
# screenshots, benchmarks), from the top of the tree:
#   wine_session NAME               run=build/win64/wine-run.sh, WINEPREFIX=build/win64/wine/prefix-NAME;
#                                   at exit the prefix's Wine server and X display stop
#   wine_program_pid FILE HARNESS   the process id of the Windows program FILE (a Unix path)
#                                   started by the harness script with process id HARNESS
# A script may set session_cleanup to a command that runs first at exit.

wine_session() {
  run="$PWD/build/win64/wine-run.sh"
  export WINEPREFIX="$PWD/build/win64/wine/prefix-$1"
  trap wine_session_end EXIT
}

# Wine starts a program apart from the harness script that asked for it (its parent is
# not the script), so the process is found by the first word of its command line: the
# program's Windows path (drive Z: is the root of the file system) where Wine's 32-bit
# loader started it, the path as given, relative to the process's folder, where the
# 64-bit loader did. Waits while the harness runs; fails once it has ended without the
# program being seen.
wine_program_pid() {
  local windows="Z:${1//\//\\}" unix pid first
  unix="$(realpath -m -- "$1")"
  while kill -0 "$2" 2>/dev/null; do
    for pid in $(pgrep -f "$(basename "$1" .exe)" || true); do
      first="$(tr '\0' '\n' 2>/dev/null < "/proc/$pid/cmdline" | head -n 1)" || continue
      if [[ "${first,,}" == *"${windows,,}"* ]] ||
         [ "$(cd "/proc/$pid/cwd" 2>/dev/null && realpath -m -- "$first")" = "$unix" ]; then
        echo "$pid"
        return 0
      fi
    done
    sleep 0.01
  done
  return 1
}

wine_session_end() {
  cd /
  [ -z "${session_cleanup:-}" ] || eval "$session_cleanup"
  "$run" --stop-prefix
}
