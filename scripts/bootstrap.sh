#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, builds, and then either
# starts the program (run) or runs every test (test).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
          libxlsxwriter-dev libzip-dev
          libbenchmark-dev clang-14 libclang-rt-14-dev
          poppler-utils xvfb xauth fonts-dejavu-core openbox x11-utils
          dpkg-dev file lintian appstream desktop-file-utils man-db acl
          python3 libreoffice-calc-nogui)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""; [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs="$(nproc)"

build() { # build DIR [cmake options...]
  local dir="$1"; shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

case "${1:-}" in
  run)
    build build
    if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
      echo "No display found: starting under a virtual X server." >&2
      exec xvfb-run -a ./build/src/app/tessar
    fi
    exec ./build/src/app/tessar
    ;;
  test)
    build build
    (cd build && ctest --output-on-failure -j"$jobs")
    # The same suite once more with ASan and UBSan watching.
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSAR_SANITIZE=ON -DTESSAR_BENCH=OFF
    (cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$jobs")
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
