#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine needs to build, run and test Orvane.
# Idempotent and quiet: packages already present are skipped; prints only on failure.
set -euo pipefail

host_packages=(
  cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev clang-format
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine64 xvfb xauth x11-utils imagemagick
  fonts-wqy-microhei fonts-dejavu-core fonts-liberation fonts-wine libfreetype-dev
)
i386_packages=(wine32:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing=()
for p in "${host_packages[@]}" "${i386_packages[@]}"; do installed "$p" || missing+=("$p"); done
dpkg --print-foreign-architectures | grep -qx i386 || missing+=("arch:i386")
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() { cat "$log" >&2; echo "setup: $1" >&2; exit 1; }

apt_install() { $SUDO apt-get install -y -qq --no-install-recommends "$@" >>"$log" 2>&1; }

# A mirror whose i386 index of a suite lags behind its amd64 index leaves the two
# architectures with different candidate versions of the same multi-arch library,
# and apt refuses the pair. Serve the i386 twins of the amd64 candidates from a
# local repository so both sides can be at one version.
local_twin_repo() {
  local repo=/var/cache/orvane-i386-twins list=/etc/apt/sources.list.d/orvane-i386-twins.list
  local wanted
  wanted=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
             --no-breaks --no-replaces --no-enhances "${i386_packages[@]}" 2>/dev/null |
           sed -n 's/^\([a-z0-9][^ :]*\):i386$/\1/p' | sort -u)
  $SUDO mkdir -p "$repo"
  local p a i file origin url
  for p in $wanted; do
    a=$(apt-cache policy "$p:amd64" 2>/dev/null | awk '/Candidate:/{print $2}')
    i=$(apt-cache policy "$p:i386" 2>/dev/null | awk '/Candidate:/{print $2}')
    [ -n "$a" ] && [ "$a" != "(none)" ] && [ "$a" != "$i" ] || continue
    installed "$p:amd64" || continue
    file=$(apt-cache show "$p:amd64=$a" 2>/dev/null | awk '/^Filename:/{print $2; exit}')
    [ -n "$file" ] || continue
    file=${file%_amd64.deb}_i386.deb
    for origin in http://deb.debian.org/debian-security http://deb.debian.org/debian; do
      url="$origin/$file"
      [ -f "$repo/$(basename "$file")" ] && break
      $SUDO curl -sf -o "$repo/$(basename "$file")" "$url" && break || true
    done
  done
  (cd "$repo" && dpkg-scanpackages -m . 2>/dev/null | $SUDO tee Packages >/dev/null)
  echo "deb [trusted=yes] file:$repo ./" | $SUDO tee "$list" >/dev/null
  $SUDO apt-get update -qq >>"$log" 2>&1 || true
}

dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
for try in 1 2 3; do
  $SUDO apt-get update -qq >>"$log" 2>&1 && break || sleep 5
done
apt_install "${host_packages[@]}" || fail "installing the build and test packages failed"
if ! apt_install "${i386_packages[@]}"; then
  local_twin_repo
  apt_install "${i386_packages[@]}" || fail "installing the 32-bit Wine packages failed"
fi
