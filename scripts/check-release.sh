#!/usr/bin/env bash
# Proves that the release is reproducible: clones the last commit twice, into folders of
# different names and depths, builds the release in each (scripts/package.sh), and
# compares the zips and SHA256SUMS byte for byte; then verifies SHA256SUMS. Exits
# non-zero, naming the files that differ, when the two releases are not the same.
# Uncommitted changes are not part of the clones.
set -euo pipefail
cd "$(dirname "$0")/.."
work="$(mktemp -d /tmp/release-check.XXXXXX)"
trap 'rm -rf "$work"' EXIT
first="$work/a"
second="$work/second clone/deeper/b"
for clone in "$first" "$second"; do
  git clone -q --no-hardlinks "$PWD" "$clone"
  echo "check-release: building the release in $clone"
  (cd "$clone" && JOBS="${JOBS:-2}" ./scripts/package.sh >"$work/$(basename "$clone").log" 2>&1) || {
    echo "check-release: scripts/package.sh failed in $clone"; tail -n 30 "$work/$(basename "$clone").log"; exit 1; }
done
status=0
for file in "$first"/dist/*; do
  name="$(basename "$file")"
  if cmp -s "$file" "$second/dist/$name"; then
    echo "check-release: $name is the same in both clones"
  else
    echo "check-release: $name differs between the clones"; status=1
  fi
done
[ "$(ls "$first/dist")" = "$(ls "$second/dist")" ] || { echo "check-release: the clones made different files"; status=1; }
(cd "$first/dist" && sha256sum -c SHA256SUMS) || status=1
exit $status
