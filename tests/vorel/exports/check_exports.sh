#!/usr/bin/env bash
# The plug-in shows exactly the entry points of its export map, every one
# defined, and nothing else of ours.
set -euo pipefail
lib=$1
map=$2
expected=$(sed -n '/global:/,/local:/p' "$map" | grep -oE '^[[:space:]]*[A-Za-z_][A-Za-z0-9_]*;' | tr -d ' ;\t' | sort)
actual=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TWDBVR]$/ {print $3}' | sort)
if [ "$expected" != "$actual" ]; then
  echo "export list differs from $map:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "exports match: $(echo "$actual" | wc -l) symbols"
