#!/usr/bin/env bash
# The link check: no layer library uses a symbol that only a higher layer
# defines. Arguments: the layers' static libraries, bottom-up. Prints each
# symbol that crosses upward with the library that needs it and fails.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
libs=("$@")
n=${#libs[@]}
for ((i = 0; i < n; i++)); do
  nm -g --defined-only "${libs[$i]}" 2>/dev/null | awk 'NF == 3 && $2 != "U" { print $3 }' | sort -u > "$work/defined.$i"
  nm -g --undefined-only "${libs[$i]}" 2>/dev/null | awk '$1 == "U" { print $2 }' | sort -u > "$work/undefined.$i"
done
failures=0
: > "$work/below"
for ((i = 0; i < n; i++)); do
  sort -u "$work/below" "$work/defined.$i" -o "$work/below"
  : > "$work/above"
  for ((j = i + 1; j < n; j++)); do cat "$work/defined.$j" >> "$work/above"; done
  sort -u "$work/above" -o "$work/above"
  # Needed here, defined above, and not defined here or below.
  comm -12 "$work/undefined.$i" "$work/above" | comm -23 - "$work/below" > "$work/up.$i"
  if [ -s "$work/up.$i" ]; then
    while read -r symbol; do
      echo "$(basename "${libs[$i]}"): uses $(echo "$symbol" | c++filt), defined only in a higher layer"
      failures=$((failures + 1))
    done < "$work/up.$i"
  fi
done
if [ "$failures" -gt 0 ]; then
  echo "CheckLayerLinks: $failures symbol(s) reached upward"
  exit 1
fi
echo "CheckLayerLinks: every layer uses only itself and the layers below"
