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

# kestrova_build DIR [cmake options...]
kestrova_build() {
  local dir=$1; shift
  local gen=()
  command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$KESTROVA_TOP" -B "$dir" "${gen[@]}" -DCMAKE_BUILD_TYPE=Release "$@"
  else
    cmake -S "$KESTROVA_TOP" -B "$dir" "$@" >/dev/null
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}
