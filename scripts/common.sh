# Shared set-up for scripts/run and scripts/test: install missing Debian
# packages from packages.txt, then configure and build one build variant.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=${JME_JOBS:-$(nproc 2>/dev/null || echo 2)}

install_packages() {
  local missing=()
  while read -r pkg; do
    pkg=${pkg%%#*}; pkg=${pkg// /}
    [ -n "$pkg" ] || continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done < "$ROOT/packages.txt"
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

# build_variant <name> <cmake args...>: configure build/<name> and build it
# all, or only the targets named in BUILD_TARGETS (a space-separated list).
build_variant() {
  local name=$1; shift
  # Line tables only (-g1): backtraces and sanitizer reports keep their file
  # and line, and the builds take a good part less time than with full -g.
  cmake -S "$ROOT" -B "$ROOT/build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
    "$@" >/dev/null
  local targets=()
  [ -z "${BUILD_TARGETS:-}" ] || targets=(--target ${BUILD_TARGETS})
  cmake --build "$ROOT/build/$name" -j "$JOBS" "${targets[@]}"
}
