#!/usr/bin/env bash
# Sets up, builds and starts the program; every argument is passed on as an input file.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/build.sh"
exec "$here/build/src/varnopel" "$@"
