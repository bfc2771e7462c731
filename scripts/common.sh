# Shared by run and test: packages and the build.
BUILD_PACKAGES=(g++ cmake ninja-build pkgconf qt6-base-dev qt6-webengine-dev qt6-svg-dev qt6-pdf-dev libgl-dev qt6-translations-l10n qtkeychain-qt6-dev
                oxygen-icon-theme iso-flags-svg libmosquitto-dev libcpp-httplib-dev nlohmann-json3-dev)
# Building the Debian package: its dependencies from the program's libraries.
PACKAGE_PACKAGES=(dpkg-dev file)
TEST_PACKAGES=(googletest libgtest-dev xvfb xauth xdotool x11-utils openbox dbus at-spi2-core python3-dbus
               libreoffice-writer-nogui mosquitto mosquitto-clients curl
               weston xwayland qt6-wayland python3-gi desktop-file-utils appstream lintian
               "${PACKAGE_PACKAGES[@]}")

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${CORVANO_BUILD_DIR:-$ROOT/build}"

build_corvano() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  ninja -C "$BUILD" "$@"
}

# The logic and its unit tests once more, under AddressSanitizer and
# UndefinedBehaviorSanitizer: an out-of-range read or undefined behaviour in
# the logic fails the run. No Qt here: only the logic is built again.
SANITIZE_BUILD="${CORVANO_SANITIZE_BUILD_DIR:-$ROOT/build-asan}"
SANITIZE_FLAGS="-O1 -g1 -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

run_sanitized_unit_tests() {
  # Its own build type: line tables only, quicker to build than full debug
  # information, and a report still names file and line.
  cmake -S "$ROOT" -B "$SANITIZE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCORVANO_GUI=OFF \
    -DCMAKE_CXX_FLAGS="$SANITIZE_FLAGS" -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE_FLAGS" >/dev/null
  ninja -C "$SANITIZE_BUILD" corvano_tests
  ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}" \
    "$SANITIZE_BUILD/tests/corvano_tests" --gtest_brief=1
}

# The package from what the build folder holds (the program is built first).
make_package() {
  rm -f "$BUILD"/corvano_*.deb
  (cd "$BUILD" && cpack -G DEB >cpack.log 2>&1) || { cat "$BUILD/cpack.log"; return 1; }
}

web_engine_env() {
  # Chromium refuses its sandbox as root. The GPU is left to Corvano: it draws
  # on the GPU where there is one and turns the engine's GPU use off where
  # there is none.
  [ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
  export QT_LOGGING_RULES="${QT_LOGGING_RULES:-qt.webenginecontext.info=false}"
  if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
  fi
}
