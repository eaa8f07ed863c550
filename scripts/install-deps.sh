#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a Debian 12 machine.
# Idempotent: when every package and the locales are already there it changes nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev
  clang clang-format clang-tidy cppcheck llvm libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb imagemagick
  locales fonts-wqy-zenhei
  python3 python3-pil zip gcovr
  osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes a program's ANSI code page from its locale: zh_CN.UTF-8 gives 936
# (every run), en_US.UTF-8 1252 and zh_TW.UTF-8 950 (the tests at other code
# pages). Without the locale Wine still answers 1252 but cannot make file names
# outside ASCII.
wanted_locales=(zh_CN en_US zh_TW)
missing_locales=()
for l in "${wanted_locales[@]}"; do
  locale -a 2>/dev/null | grep -qi "^$l\.utf-\?8\$" || missing_locales+=("$l")
done
if [ "${#missing_locales[@]}" -gt 0 ]; then
  echo "install-deps: generating ${missing_locales[*]/%/.UTF-8}"
  for l in "${missing_locales[@]}"; do
    $SUDO sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi
