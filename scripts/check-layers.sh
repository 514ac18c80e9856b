#!/usr/bin/env bash
# Fails when a source file includes what its layer may not use (docs/ARCHITECTURE.md):
# the core includes nothing outside the core and no Qt, a core folder includes only its
# own and lower folders, the command line and the libisofs image include no Qt, and no
# layer includes the program's entry point or a layer above it.
set -euo pipefail
cd "$(dirname "$0")/.."

# The core's folders, lowest first: each may include its own and the folders before it.
core_order=(base text disk profiles workspace image plan)

failures=0
fail() {
  echo "$1:$2: $3" >&2
  failures=$((failures + 1))
}

# Prints "line:target" for each quoted include of a file, and "line:<Qt>" for a Qt header.
includes_of() {
  grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$1" |
    sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1:\2/;
            s/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]*|Qt[A-Za-z]*\/[^>]*)>.*/\1:<Qt>/;
            t; d'
}

sources() {
  find "$1" -name '*.h' -o -name '*.cpp' | sort
}

rank_of() {
  local i
  for i in "${!core_order[@]}"; do
    [ "${core_order[$i]}" = "$1" ] && echo "$i" && return
  done
  echo -1
}

# check FILE ALLOWED-PATTERN DESCRIPTION: every quoted include must match the pattern.
check() {
  local file=$1 allowed=$2 what=$3 entry line target
  while IFS= read -r entry; do
    line=${entry%%:*}
    target=${entry#*:}
    if [ "$target" = "<Qt>" ]; then
      fail "$file" "$line" "$what includes a Qt header"
    elif ! [[ $target =~ $allowed ]]; then
      fail "$file" "$line" "$what includes \"$target\""
    fi
  done < <(includes_of "$file")
}

for file in $(sources src/core); do
  folder=${file#src/core/}
  folder=${folder%%/*}
  rank=$(rank_of "$folder")
  if [ "$rank" -lt 0 ]; then
    fail "$file" 1 "src/core/$folder is not a folder of the core's order"
    continue
  fi
  allowed=$(IFS='|'; echo "${core_order[*]:0:$((rank + 1))}")
  check "$file" "^core/($allowed)/" "src/core/$folder"
done
for file in $(sources src/cli); do
  check "$file" '^(core|cli)/' "src/cli"
done
for file in $(sources src/image); do
  check "$file" '^(core/|image/|[A-Za-z]+\.h$)' "src/image"
done
for file in $(sources src/window); do
  allowed='^(core|image|window)/'
  while IFS= read -r entry; do
    target=${entry#*:}
    [ "$target" = "<Qt>" ] && continue
    [[ $target =~ $allowed ]] || fail "$file" "${entry%%:*}" "src/window includes \"$target\""
  done < <(includes_of "$file")
done

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) across the layers" >&2
  exit 1
fi
echo "check-layers: every include keeps to its layer"
