#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages a job needs, and only those that are
# missing. Safe to run again.
#   scripts/bootstrap.sh demo   what scripts/demo.sh builds: qrhost and the two plug-ins
#   scripts/bootstrap.sh [test] everything the build, the tests and the benchmarks need
#                               (the default: scripts/test.sh and CI run it so)
set -euo pipefail

job=${1:-test}
if [[ $job != demo && $job != test ]]; then
  echo "usage: scripts/bootstrap.sh [demo|test]" >&2
  exit 2
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The packages of $@ that are not installed, one a line.
missing() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

if [[ $job == demo ]]; then
  packages=(
    cmake ninja-build g++                            # the demo preset's build
    pkg-config libcairo2-dev                         # qrhost render's drawing and PNG files
  )
else
  packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev   # compilers; libFuzzer comes with clang's runtime
    clang-format                                     # the format check of the test command
    libgtest-dev libbenchmark-dev                    # tests and benchmarks
    libwxgtk3.2-dev                                  # the preferences program
    libcairo2-dev                                    # qrhost render's drawing and PNG files, the icons
    dpkg-dev file desktop-file-utils                 # cpack -G DEB (dpkg-shlibdeps), the desktop entry check
    xvfb xauth xdotool imagemagick                   # driving and photographing the GUI in tests
    python3 python3-ezdxf assimp-utils               # independent DXF readers used by the tests
    libassimp-dev                                    # assimp as a peer in the benchmarks
    locales                                          # a decimal-comma locale for the number tests
  )
fi

mapfile -t absent < <(missing "${packages[@]}")
if ((${#absent[@]})); then
  echo "bootstrap: installing ${absent[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${absent[@]}"
fi

[[ $job == test ]] || exit 0

# The Windows build: MinGW-w64 cross-compilers, and Wine, 64- and 32-bit, to run
# its tests (wine32 needs the i386 architecture). Where they cannot be installed
# the Windows tests are skipped with a message; the Linux build needs none of them.
mapfile -t windows_absent < <(missing mingw-w64 wine wine64 wine32:i386)
if ((${#windows_absent[@]})); then
  echo "bootstrap: installing ${windows_absent[*]} for the Windows build and its tests"
  if ! { dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386; } ||
     ! $sudo apt-get update -qq ||
     ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${windows_absent[@]}"; then
    echo "bootstrap: could not install ${windows_absent[*]}; the Windows tests will be skipped"
  fi
fi

# The DXF reader must read numbers the same whatever the process locale; the
# tests check that under a locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "bootstrap: generating the de_DE.UTF-8 locale"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
