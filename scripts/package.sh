#!/usr/bin/env bash
# Builds the Debian package into build-deb/ and checks it: the files it holds,
# lintian (errors only), the AppStream data and the desktop entry. Prints the
# package's path last.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$here/build-deb"
bash "$here/scripts/setup.sh" dpkg-dev file lintian appstream desktop-file-utils

# Configured for /usr, where the package puts it; no tests or benchmarks.
# Debian's hardening flags come on top of the Release ones (whose -O3 stays).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$here" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVARNOPEL_TESTS=OFF -DVARNOPEL_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$out" -j2
rm -f "$out"/varnopel_*.deb
(cd "$out" && cpack -G DEB >/dev/null)
debs=("$out"/varnopel_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no single varnopel_*.deb" >&2; exit 1; }
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "varnopel_${version}_${arch}.deb" ] || { echo "unexpected name $deb" >&2; exit 1; }

echo "== dpkg-deb -c $(basename "$deb")"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
missing=0
for path in \
  usr/bin/varnopel usr/bin/varnopel-split \
  usr/share/man/man1/varnopel.1.gz usr/share/man/man1/varnopel-split.1.gz \
  usr/share/bash-completion/completions/varnopel-split \
  usr/share/zsh/vendor-completions/_varnopel-split \
  usr/share/applications/varnopel.desktop \
  usr/share/icons/hicolor/scalable/apps/varnopel.svg \
  usr/share/metainfo/varnopel.metainfo.xml \
  usr/share/doc/varnopel/varnopel.html usr/share/doc/varnopel/copyright usr/share/doc/varnopel/changelog.gz; do
  grep -q " \./$path\$" <<<"$contents" || { echo "missing from the package: /$path" >&2; missing=1; }
done
[ "$missing" -eq 0 ]
# Depends is dpkg-shlibdeps' answer: the libraries must be there, not only
# the plugin package named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
echo "== Depends: $depends"
for lib in libc6 libicu72 libqt6core6 libqt6widgets6; do
  grep -q "\b$lib\b" <<<"$depends" || { echo "Depends lacks $lib" >&2; exit 1; }
done

echo "== lintian (errors)"
lintian --fail-on error --display-level '>=error' "$deb"
echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$here/packaging/varnopel.metainfo.xml"
echo "== desktop-file-validate"
desktop-file-validate "$here/packaging/varnopel.desktop"
echo "$deb"
