#!/usr/bin/env bash
# Fails when a C++ source differs from what clang-format makes of it
# (.clang-format at the top); `--fix` formats them in place instead.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh" clang-format
cd "$here"
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.inl')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run -Werror "${files[@]}"
  echo "format: ${#files[@]} files as clang-format has them"
fi
