#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine needs to build, run and test Orvane: both MinGW-w64
# cross toolchains, 64-bit Wine, and 32-bit Wine where the machine can execute 32-bit code.
# Idempotent: packages already present are skipped, and with nothing missing it prints nothing;
# otherwise it names each step (what it installs) and how long it took, and shows the log of a
# step that fails.
set -euo pipefail
. "$(dirname "$0")/windows-build.sh"
. "$(dirname "$0")/progress.sh"

host_packages=(
  cmake ninja-build ccache g++ python3 googletest libgtest-dev libbenchmark-dev clang-format
  libyuv-dev libopencv-imgproc-dev libjpeg-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 dpkg-dev
  wine wine64 xvfb xauth x11-utils imagemagick groff img2pdf enfuse
  fonts-wqy-microhei fonts-dejavu-core fonts-liberation fonts-wine libfreetype-dev imagej
)
i386_packages=()
if orvane_machine_runs_i386; then
  i386_packages=(wine32:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing_host=() missing_i386=()
for p in "${host_packages[@]}"; do installed "$p" || missing_host+=("$p"); done
for p in "${i386_packages[@]}"; do installed "$p" || missing_i386+=("$p"); done
if [ ${#i386_packages[@]} -gt 0 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || missing_i386+=("arch:i386")
fi
[ $((${#missing_host[@]} + ${#missing_i386[@]})) -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() { cat "$log" >&2; echo "setup: $1" >&2; exit 1; }

apt_install() { $SUDO apt-get install -y -qq --no-install-recommends "$@" >>"$log" 2>&1; }

# A mirror whose i386 index of a suite lags behind its amd64 index (or fails to download)
# leaves the two architectures with different candidate versions of the same multi-arch
# library, and apt refuses the pair. Fetch the i386 twins of the amd64 candidates from where
# apt itself would fetch the amd64 ones, and serve them from a local repository.
local_twin_repo() {
  local repo=/var/cache/orvane-i386-twins list=/etc/apt/sources.list.d/orvane-i386-twins.list
  local wanted
  wanted=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
             --no-breaks --no-replaces --no-enhances "${i386_packages[@]}" 2>/dev/null |
           sed -n 's/^\([a-z0-9][^ :]*\):i386$/\1/p' | sort -u)
  $SUDO mkdir -p "$repo"
  # One policy query per architecture: "name candidate" lines.
  candidates() {
    apt-cache policy $(printf "%s:$1 " $wanted) 2>/dev/null |
      awk '/^[^ ]+:$/{name=$1; sub(/:[^:]*:$/, "", name); sub(/:$/, "", name)}
           /Candidate:/{print name, $2}' | sort
  }
  local p a i url deb
  while read -r p a i; do
    [ "$a" != "(none)" ] && [ "$a" != "$i" ] || continue
    installed "$p:amd64" || continue
    url=$(apt-get download --print-uris "$p:amd64=$a" 2>/dev/null | awk -F"'" 'NR==1{print $2}')
    case $url in *_amd64.deb) ;; *) continue ;; esac
    url=${url%_amd64.deb}_i386.deb
    deb=$repo/$(basename "$url")
    [ -f "$deb" ] || $SUDO /usr/lib/apt/apt-helper download-file "$url" "$deb" >>"$log" 2>&1 || true
  done < <(join <(candidates amd64) <(candidates i386))
  (cd "$repo" && dpkg-scanpackages -m . 2>/dev/null | $SUDO tee Packages >/dev/null)
  echo "deb [trusted=yes] file:$repo ./" | $SUDO tee "$list" >/dev/null
  $SUDO apt-get update -qq >>"$log" 2>&1 || true
}

if [ ${#i386_packages[@]} -gt 0 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
fi
orvane_begin "updating the package lists (apt-get update)"
for try in 1 2 3; do
  $SUDO apt-get update -qq >>"$log" 2>&1 && break || sleep 5
done
orvane_end
if [ ${#missing_host[@]} -gt 0 ]; then
  orvane_begin "installing packages (apt): ${missing_host[*]}"
  apt_install "${host_packages[@]}" || fail "installing the build and test packages failed"
  orvane_end
fi
if [ ${#missing_i386[@]} -gt 0 ]; then
  orvane_begin "installing packages (apt, 32-bit Wine): ${missing_i386[*]}"
  if ! apt_install "${i386_packages[@]}"; then
    echo "   the mirror's 32-bit packages do not match its 64-bit ones: serving their twins locally"
    local_twin_repo
    apt_install "${i386_packages[@]}" || fail "installing the 32-bit Wine packages failed"
  fi
  orvane_end
fi
