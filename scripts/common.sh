# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/run and scripts/test: package check and the build.
# shellcheck shell=bash

KESTROVA_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

kestrova_packages() {
  grep -v -E '^\s*(#|$)' "$KESTROVA_TOP/scripts/packages"
}

# Installs what is missing when run as root; otherwise names it and stops.
kestrova_ensure_packages() {
  local missing=() p
  for p in $(kestrova_packages); do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Kestrova needs these Debian packages: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ${missing[*]}) and run this again." >&2
    exit 1
  fi
  echo "Installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# Every C++ source follows .clang-format; a file that does not stops the run
# before anything is built, naming the file.
kestrova_check_format() {
  local files
  files=$(cd "$KESTROVA_TOP" && find src tools tests bench resources -name '*.cpp' -o -name '*.h' | sort)
  if ! (cd "$KESTROVA_TOP" && echo "$files" | xargs clang-format --dry-run -Werror); then
    echo "These sources differ from .clang-format; run clang-format -i on them." >&2
    exit 1
  fi
  # The licence line stays at the top of every source file.
  local unlicensed
  unlicensed=$(cd "$KESTROVA_TOP" && echo "$files" | while read -r f; do
    head -n 3 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$f"; done)
  if [ -n "$unlicensed" ]; then
    echo "These sources lack the SPDX licence line at their top:" $unlicensed >&2
    exit 1
  fi
}

# kestrova_configure DIR [cmake options...]
kestrova_configure() {
  local dir=$1; shift
  local gen=()
  command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$KESTROVA_TOP" -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release "$@"
  else
    cmake -S "$KESTROVA_TOP" -B "$dir" "$@" >/dev/null
  fi
}

# kestrova_build DIR [cmake options...]: everything, tests and benchmarks too.
kestrova_build() {
  kestrova_configure "$@"
  cmake --build "$1" --parallel "$(nproc)"
}

# kestrova_build_programs DIR: only the programs and their resources.
kestrova_build_programs() {
  kestrova_configure "$1"
  cmake --build "$1" --parallel "$(nproc)" --target programs
}

# kestrova_package DIR: the Debian package of the build in DIR, made by CPack
# as DIR/kestrova_VERSION_ARCH.deb; prints its path. Nothing is installed.
kestrova_package() {
  local dir=$1 debs
  rm -f "$dir"/kestrova_*.deb
  (cd "$dir" && cpack -G DEB >/dev/null)
  debs=("$dir"/kestrova_*.deb)
  if [ ${#debs[@]} -ne 1 ] || ! dpkg-deb --info "${debs[0]}" >/dev/null; then
    echo "The Debian package was not made in $dir." >&2
    exit 1
  fi
  echo "${debs[0]}"
}
