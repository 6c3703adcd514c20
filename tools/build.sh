#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kiravel, builds it, and then plays or tests.
#   tools/build.sh play   build, then open the game window on the bundled data
#   tools/build.sh test   build, then run the whole test suite; then build again
#                         with AddressSanitizer and UndefinedBehaviorSanitizer
#                         (clang), run the whole suite under them, run each fuzz
#                         target for a short while and play random games for a
#                         minute
set -euo pipefail

cd "$(dirname "$0")/.."
root="$(pwd)"
build="$root/build"

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n libsdl2-dev fonts-ipafont-gothic xvfb xauth chromium locales
  desktop-file-utils appstream dpkg-dev file lintian nlohmann-json3-dev clang libclang-rt-14-dev
  libkf5syntaxhighlighting-tools libxml2-utils xdotool imagemagick
  python3 python3-gi python3-pyatspi gir1.2-atspi-2.0 at-spi2-core dbus-daemon dbus-bin openbox)

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

install_missing() {
  local missing=()
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$package")
  done
  if ((${#missing[@]})); then
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# The window's tests read the game's numbers under a German locale, which
# writes fractions with a comma; the checker's are run under a Turkish one,
# whose "I" lowers to a dotless i.
make_test_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE.utf8' || as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
  locale -a 2>/dev/null | grep -qix 'tr_TR.utf8' || as_root localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
}

configure_and_build() {
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j "$(nproc)"
}

# The sanitizer build: every test, the fuzz targets' short runs, the soak.
sanitized_proof() {
  cmake --preset sanitize
  cmake --build --preset sanitize -j "$(nproc)"
  ctest --preset sanitize -j "$(nproc)"
  tools/fuzz.sh 25 "$root/build-sanitize"
  # The same games every time, so that CI passes or fails on the code alone.
  "$root/build-sanitize/soak/kiravel-soak" --seed 20261207 --seconds 60
}

case "${1:-}" in
  play)
    install_missing
    configure_and_build
    exec "$build/game/kiravel"
    ;;
  test)
    install_missing
    make_test_locale
    configure_and_build
    (cd "$build" && ctest --output-on-failure -j "$(nproc)")
    sanitized_proof
    ;;
  *)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac
