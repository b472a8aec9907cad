#!/usr/bin/env bash
# check-package.sh CPACK BUILD_DIR SCRATCH VERSION HELPPROBE
#
# Packs BUILD_DIR's binaries into a .deb in SCRATCH (never in the build
# folder itself) and checks what a lab would install: the file list, the
# control fields, the manual pages, the desktop entry and AppStream data,
# the help search from the installed layout, and lintian's verdict.
# Exits 77 (skipped) where dpkg-deb is missing.
set -uo pipefail

cpack=$1 build=$2 scratch=$3 version=$4 probe=$5

if ! command -v dpkg-deb >/dev/null; then
  echo "SKIPPED: dpkg-deb is not installed, so no Debian package can be built here"
  exit 77
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$scratch"
mkdir -p "$scratch" "$HOME"
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack -G DEB did not build a package"
  exit 1
fi
arch=$(dpkg --print-architecture)
deb="$scratch/tessar_${version}_${arch}.deb"
if [[ ! -f $deb ]]; then
  ls "$scratch"
  echo "FAIL: no $deb"
  exit 1
fi

# --- What it installs: exactly these files, owned by root, with plain modes.
# The desktop's caches (mime.cache, icon-theme.cache, mimeinfo.cache ...)
# must not be among them: the system's triggers build those.
expected=$(cat <<'EOF'
-rwxr-xr-x ./usr/bin/tessar
-rwxr-xr-x ./usr/bin/tessar-kwl
-rw-r--r-- ./usr/lib/@MULTIARCH@/tessar/tessar-handover.so
-rw-r--r-- ./usr/lib/@MULTIARCH@/tessar/tessar-printing.so
-rw-r--r-- ./usr/lib/@MULTIARCH@/tessar/tessar-workbook.so
-rw-r--r-- ./usr/share/applications/com.corvant.tessar.desktop
-rw-r--r-- ./usr/share/doc/tessar/changelog.gz
-rw-r--r-- ./usr/share/doc/tessar/copyright
-rw-r--r-- ./usr/share/icons/hicolor/128x128/apps/tessar.png
-rw-r--r-- ./usr/share/icons/hicolor/16x16/apps/tessar.png
-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/tessar.png
-rw-r--r-- ./usr/share/icons/hicolor/32x32/apps/tessar.png
-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/tessar.png
-rw-r--r-- ./usr/share/icons/hicolor/64x64/apps/tessar.png
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/tessar.svg
-rw-r--r-- ./usr/share/man/man1/tessar-kwl.1.gz
-rw-r--r-- ./usr/share/man/man1/tessar.1.gz
-rw-r--r-- ./usr/share/metainfo/com.corvant.tessar.metainfo.xml
-rw-r--r-- ./usr/share/mime/packages/tessar.xml
-rw-r--r-- ./usr/share/tessar/WNDO5.hlp
EOF
)
expected=${expected//@MULTIARCH@/$(gcc -dumpmachine)}
expected=$(LC_ALL=C sort -k2 <<<"$expected")
listing=$(dpkg-deb -c "$deb")
actual=$(awk '$1 !~ /^d/ { print $1, $6 }' <<<"$listing" | LC_ALL=C sort -k2)
if [[ $actual != "$expected" ]]; then
  fail "the package's files differ from what should be installed (< expected, > packed):"
  diff <(echo "$expected") <(echo "$actual") | grep '^[<>]'
fi
awk '$2 != "root/root" { print "FAIL: not owned by root:", $0 }' <<<"$listing" | grep . && failures=$((failures + 1))
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { print "FAIL: folder mode:", $0 }' <<<"$listing" | grep . && failures=$((failures + 1))

# --- Control fields.
control=$(dpkg-deb -f "$deb")
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tessar ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', the project is $version"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Section) == science ]] || fail "Section is '$(field Section)'"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@]+@[^\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6network6 libxlsxwriter4 libzip4; do
  [[ ", $depends" == *", $lib (>= "* ]] || fail "Depends lacks a versioned $lib: $depends"
done
for dir in "$build" "$(cd "$(dirname "$0")/../.." && pwd)" "$scratch"; do
  grep -qF "$dir" <<<"$control" && fail "the control fields name a build folder ($dir)"
done
(($(field Description | wc -l) >= 5)) || fail "Description has no long description: $(field Description)"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"

# --- Binaries are stripped.
for bin in tessar tessar-kwl; do
  readelf -S "$root/usr/bin/$bin" | grep -qE '\.(symtab|debug_info)' && fail "/usr/bin/$bin is not stripped"
done

# --- The changelog and the metadata speak of the version being packed.
gzip -dc "$root/usr/share/doc/tessar/changelog.gz" | head -n 1 | grep -qF "tessar ($version) " ||
  fail "the changelog's latest entry is not for $version"
grep -qE "<release version=\"$version\"" "$root/usr/share/metainfo/com.corvant.tessar.metainfo.xml" ||
  fail "the AppStream releases lack $version"

# --- Manual pages render cleanly.
if command -v man >/dev/null; then
  for page in tessar tessar-kwl; do
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "man $page: $warnings"
    MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null | grep -q "Tessar $version" ||
      fail "man $page does not name version $version"
  done
else
  echo "note: man is not installed; the manual pages were not rendered"
fi

# --- Desktop entry and AppStream metadata pass their validators.
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/com.corvant.tessar.desktop" ||
    fail "desktop-file-validate"
else
  echo "note: desktop-file-validate is not installed; the desktop entry was not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/com.corvant.tessar.metainfo.xml" ||
    fail "appstreamcli validate"
else
  echo "note: appstreamcli is not installed; the AppStream metadata was not validated"
fi

# --- The installed program finds its manual in /usr/share/tessar, even
# with nothing on PATH.
cp "$probe" "$root/usr/bin/helpprobe"
found=$(cd / && PATH=/nonexistent "$root/usr/bin/helpprobe")
[[ $found == "$(realpath "$root")/usr/share/tessar/WNDO5.hlp" ]] ||
  fail "the installed program looks for its manual in vain (found '$found')"
rm "$root/usr/bin/helpprobe"

# --- The installed program finds its hand-over module: with one copy
# running, a second start hands over to it and ends. Without the module it
# would run on alone.
runtime="$scratch/runtime"
mkdir -p -m 700 "$runtime"
installed=(env -u TESSAR_MODULE_DIR QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime"
           XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state" XDG_CACHE_HOME="$scratch/cache")
"${installed[@]}" "$root/usr/bin/tessar" >"$scratch/first.log" 2>&1 &
first=$!
for _ in $(seq 200); do
  [[ -S $runtime/tessar-$(id -u) ]] && break
  sleep 0.1
done
if [[ ! -S $runtime/tessar-$(id -u) ]]; then
  cat "$scratch/first.log"
  fail "the installed program never listened for later starts"
elif ! timeout 10 "${installed[@]}" "$root/usr/bin/tessar" >"$scratch/second.log" 2>&1; then
  cat "$scratch/second.log"
  fail "a second start of the installed program did not hand over to the first"
fi
kill "$first" 2>/dev/null
wait "$first" 2>/dev/null

# --- lintian: errors fail the test; warnings are shown.
if command -v lintian >/dev/null; then
  lintian --info "$deb" >"$scratch/lintian.log" 2>&1
  cat "$scratch/lintian.log"
  grep -q '^E:' "$scratch/lintian.log" && fail "lintian reports errors"
else
  echo "note: lintian is not installed; the package was not linted"
fi

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package $deb checked"
