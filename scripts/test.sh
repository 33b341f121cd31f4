#!/usr/bin/env bash
# Sets up, builds and runs every test headless; exits non-zero on any failure.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$here/build"
ctest --output-on-failure --timeout 300 -j2
