#!/usr/bin/env bash
# check_versions.sh VERSION SOURCE_DIR
# The version of a release is written in several files besides CMake's
# project(); each must name the one being built (2.6.0 for 2.6.0.0).
set -euo pipefail
version=$1
src=$2
status=0
expect() {  # file, what it says, what it should say
  if [ "$2" != "$3" ]; then
    echo "$1 names version '$2', the build is $3"
    status=1
  fi
}
expect packaging/debian/changelog \
  "$(sed -nE '1s/^varnopel \(([^)]*)\).*/\1/p' "$src/packaging/debian/changelog")" "$version"
expect packaging/varnopel.metainfo.xml \
  "$(grep -m1 -oP '<release version="\K[^"]+' "$src/packaging/varnopel.metainfo.xml")" "$version"
for page in "$src"/packaging/man/*.1; do
  expect "packaging/man/$(basename "$page")" "$(sed -nE 's/^\.TH .*"Varnopel ([^"]*)".*/\1/p' "$page")" "$version"
done
[ "$status" -eq 0 ] && echo "changelog, metainfo and manual pages name version $version"
exit "$status"
