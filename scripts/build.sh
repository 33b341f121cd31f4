#!/usr/bin/env bash
# Sets the machine up and builds everything (program, companion, tests) into build/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"
# VARNOPEL_WERROR=ON (as CI sets it) makes every warning an error.
cd "$here"
cmake --preset default -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" -DVARNOPEL_WERROR="${VARNOPEL_WERROR:-OFF}" >/dev/null
cmake --build --preset default
