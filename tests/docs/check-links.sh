#!/usr/bin/env bash
# Every relative link of the front door and the documents leads to a file or folder
# that exists: check-links.sh <source tree>. Links to web addresses and to anchors in
# the same document are not followed; a link's own anchor (file.md#part) is dropped.
set -uo pipefail
root="$1"
cd "$root" || exit 2
broken=0 checked=0
for doc in README.md docs/*.md; do
  dir="$(dirname "$doc")"
  # Markdown links and images: ](target) or ](target "title").
  while IFS= read -r target; do
    target="${target%% *}"
    target="${target%%#*}"
    case "$target" in
      ''|http://*|https://*|mailto:*) continue ;;
    esac
    checked=$((checked + 1))
    if [ ! -e "$dir/$target" ]; then
      echo "$doc: the link \"$target\" leads to nothing ($dir/$target does not exist)"
      broken=1
    fi
  done < <(grep -o '](\([^)]*\))' "$doc" | sed 's/^](\(.*\))$/\1/')
done
echo "check-links: $checked relative links checked"
[ "$checked" -gt 0 ] || { echo "check-links: no link found at all"; exit 1; }
exit $broken
