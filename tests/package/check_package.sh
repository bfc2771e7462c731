#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it: its files,
# its dependencies, the menu entry, the AppStream data, and lintian (errors
# fail, warnings are listed).
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
export CORVANO_BUILD_DIR="$1"
source "$(dirname "$0")/../../scripts/common.sh"
make_package
deb=$(ls "$BUILD"/corvano_*.deb)
echo "package: $deb"
bad=0
fail() { echo "FAIL: $*"; bad=1; }

contents=$(dpkg-deb --contents "$deb")
for f in usr/bin/corvano usr/share/corvano/Lang_english.txt usr/share/corvano/Lang_deutsch.txt \
         usr/share/corvano/Template.Doc usr/share/corvano/TemplateH.Doc \
         usr/share/applications/net.corvano.Corvano.desktop usr/share/metainfo/net.corvano.Corvano.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/net.corvano.Corvano.svg \
         usr/share/doc/corvano/copyright usr/share/doc/corvano/changelog.gz usr/share/man/man1/corvano.1.gz; do
  grep -q " \./$f\$" <<<"$contents" || fail "$f is not in the package"
done
version=$(sed -n 's/^project(corvano VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6webenginecore6 libqt6widgets6 libmosquitto1 oxygen-icon-theme iso-flags-svg qt6-translations-l10n; do
  grep -q "$d" <<<"$depends" || fail "does not depend on $d: $depends"
done

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
file "$tree/usr/bin/corvano" | grep -q 'not stripped' && fail "the program is not stripped"
grep -q '^License: GPL-3+$' "$tree/usr/share/doc/corvano/copyright" || fail "the copyright file does not name GPL-3+"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$tree/usr/share/metainfo/net.corvano.Corvano.metainfo.xml" ||
  fail "the AppStream data does not name the licence"
desktop-file-validate "$tree/usr/share/applications/net.corvano.Corvano.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$tree/usr/share/metainfo/net.corvano.Corvano.metainfo.xml" || fail "appstreamcli validate"

lint=$(lintian "$deb" 2>&1 || true)
[ -z "$lint" ] || echo "$lint"
grep -q '^E: ' <<<"$lint" && fail "lintian reports errors"
exit $bad
