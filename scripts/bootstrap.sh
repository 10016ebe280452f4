#!/usr/bin/env bash
# Installs, with apt-get, every Debian package the build, the tests and the
# demo need, and only those that are missing. Safe to run again.
set -euo pipefail

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

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "bootstrap: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Windows build: MinGW-w64 cross-compilers, and Wine, 64- and 32-bit, to run
# its tests (wine32 needs the i386 architecture). Where they cannot be installed
# the Windows tests are skipped with a message; the Linux build needs none of them.
windows_packages=(mingw-w64 wine wine64 wine32:i386)
windows_missing=()
for p in "${windows_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || windows_missing+=("$p")
done
if ((${#windows_missing[@]})); then
  echo "bootstrap: installing ${windows_missing[*]} for the Windows build and its tests"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if ! { dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386; } ||
     ! $sudo apt-get update -qq ||
     ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${windows_missing[@]}"; then
    echo "bootstrap: could not install ${windows_missing[*]}; the Windows tests will be skipped"
  fi
fi

# The DXF reader must read numbers the same whatever the process locale; the
# tests check that under a locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "bootstrap: generating the de_DE.UTF-8 locale"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
