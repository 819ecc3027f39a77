#!/usr/bin/env bash
# Builds the Debian package from a release build and checks it as a user's machine would use
# it: installed by dpkg into a fresh root, soramine-cli run and the window started (offscreen,
# with a second start handing it a folder) from the installed paths, then removed, leaving
# nothing behind. Usage: scripts/package-test.sh [BUILD_DIR]   (default build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build-package}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$bin" -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF -DSORAMINE_BENCH=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$bin" -j"$(nproc)" >/dev/null
rm -f "$bin"/soramine_*.deb
(cd "$bin" && cpack -G DEB >/dev/null)
deb="$(echo "$bin"/soramine_*.deb)"
[ -f "$deb" ] || { echo "FAIL: cpack made no package"; exit 1; }

work="$(mktemp -d)"
first=""
cleanup() {
  [ -n "$first" ] && kill "$first" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends Recommends

# Every dependency names a package that is installed here, at the version asked for: the
# libraries the programs were linked with.
depends="$(dpkg-deb --field "$deb" Depends)"
for lib in libqt6widgets6 libqt6network6 libpcre2-16-0; do
  grep -q "\b$lib\b" <<<"$depends" || fail "the package does not depend on $lib"
done
IFS=',' read -ra clauses <<<"$depends"
for clause in "${clauses[@]}"; do
  met=0
  IFS='|' read -ra alternatives <<<"$clause"
  for alternative in "${alternatives[@]}"; do
    read -r name relation version <<<"$(tr -d '()' <<<"$alternative")"
    have="$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null)" || continue
    if [ -z "$relation" ] || dpkg --compare-versions "$have" "$relation" "$version"; then met=1; fi
  done
  [ "$met" = 1 ] || fail "dependency not met on this machine: $clause"
done

# No maintainer scripts: installing and removing is dpkg's own work (and the desktop's
# databases of menu entries, icons and file types follow through their packages' triggers).
scripts="$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'inst$|rm$|config$' || true)"
[ -z "$scripts" ] || fail "the package has maintainer scripts: $scripts"

# A fresh root that only dpkg's own database is in.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# The dependencies are this machine's (checked above); the fresh root has none of them.
dpkg --root="$root" --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "dpkg could not install the package"; }
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' soramine)" = \
  "install ok installed" ] || fail "dpkg does not list the package as installed"
for file in usr/bin/soramine usr/bin/soramine-window usr/bin/soramine-cli \
  usr/share/applications/org.example.soramine.desktop \
  usr/share/metainfo/org.example.soramine.metainfo.xml \
  usr/share/mime/packages/org.example.soramine.xml \
  usr/share/icons/hicolor/scalable/apps/org.example.soramine.svg \
  usr/share/man/man1/soramine-cli.1.gz usr/share/doc/soramine/README.md; do
  [ -f "$root/$file" ] || fail "not installed: /$file"
done
# The user guide that "ヘルプ(&H)" opens, with the pictures it shows.
for picture in $(grep -o 'docs/[a-z_]*\.png' README.md | sort -u); do
  [ -f "$root/usr/share/doc/soramine/$picture" ] || fail "the guide's picture is missing: $picture"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/org.example.soramine.desktop"
fi
exec_program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/org.example.soramine.desktop")"
[ -x "$root/usr/bin/$exec_program" ] || fail "the menu entry runs $exec_program, which is not installed"

echo "== run from the installed paths"
version="$("$root/usr/bin/soramine-cli" --version)" || fail "soramine-cli --version failed"
echo "soramine-cli --version: $version"
[ -n "$version" ] || fail "soramine-cli --version printed nothing"

# The window, offscreen, as a user of its own (settings, runtime folder).
mkdir -p "$work/home" "$work/config" "$work/run" "$work/folder"
chmod 700 "$work/run"
touch "$work/folder/a.txt" "$work/folder/b.txt"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=offscreen
"$root/usr/bin/soramine" >"$work/window.log" 2>&1 &
first=$!
socket="$XDG_RUNTIME_DIR/soramine-$(id -u)"
for _ in $(seq 300); do
  [ -S "$socket" ] && break
  kill -0 "$first" 2>/dev/null || { cat "$work/window.log"; fail "the window ended at its start"; }
  sleep 0.1
done
[ -S "$socket" ] || fail "the window does not listen for later starts"
# A second start hands its folder over and ends at once.
timeout 30 "$root/usr/bin/soramine" "$work/folder" || fail "the second start did not forward"
sleep 1
kill -0 "$first" 2>/dev/null || { cat "$work/window.log"; fail "the window ended"; }
kill "$first"
wait "$first" 2>/dev/null || true
first=""
echo "the window started, took a forwarded folder and was closed"

echo "== remove"
dpkg --root="$root" --purge soramine >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "dpkg could not remove the package"; }
left="$(cd "$root" && find . -mindepth 1 ! -path ./var ! -path ./var/lib ! -path './var/lib/dpkg*')"
[ -z "$left" ] || fail "left behind after removal: $left"
dpkg-query --admindir="$root/var/lib/dpkg" -W soramine >/dev/null 2>&1 &&
  fail "dpkg still lists the package"
echo "package test: installed, run and removed cleanly"
