#!/usr/bin/env bash
# Fails, naming each file, when a C++ source of the project is not as
# clang-format writes it with the root's .clang-format (clang-format 14, as
# Debian 12 has it). `scripts/check-format.sh --fix` formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find src simulator testsupport tests bench fuzz examples -name '*.cpp' -o -name '*.h' | sort)
fi

if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi

# clang-format names each place it would change as "FILE:LINE:COL: error: ...".
report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1) && status=0 || status=$?
if [ "$status" -ne 0 ]; then
  unformatted=$(grep -oE '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u || true)
  if [ -z "$unformatted" ]; then echo "$report" >&2; exit "$status"; fi
  sed 's/^/not formatted: /' <<<"$unformatted" >&2
  echo "format: $(wc -l <<<"$unformatted") file(s) differ from clang-format's; scripts/check-format.sh --fix formats them" >&2
  exit 1
fi
echo "format: ${#files[@]} files as clang-format writes them"
