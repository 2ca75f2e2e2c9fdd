# Shared by scripts/run and scripts/test: install what is missing, build.
# Sourced, not run.

TARVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARVEL_BUILD=${TARVEL_BUILD:-$TARVEL_ROOT/build}
CHEMFOAM_SUBDIR=usr/share/doc/openfoam-examples/examples/combustion/chemFoam
CHEMFOAM_DIR=/$CHEMFOAM_SUBDIR

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing_packages() {
  local pkg
  grep -v -E '^\s*(#|$)' "$TARVEL_ROOT/scripts/packages.txt" | while read -r pkg; do
    dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || echo "$pkg"
  done
}

ensure_packages() {
  local missing
  missing=$(missing_packages | tr '\n' ' ')
  if [ -n "${missing// /}" ]; then
    echo "Installing missing Debian packages: $missing"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
  fi
}

# The CHEMKIN cases live under /usr/share/doc, which some systems tell dpkg
# not to install. Then take them out of the package file into the build tree.
ensure_chemfoam() {
  if [ -f "$CHEMFOAM_DIR/h2/chemkin/chem.inp" ] && [ -f "$CHEMFOAM_DIR/gri/chemkin/chem.inp.gz" ]; then
    return 0
  fi
  local unpack="$TARVEL_BUILD/_deps/openfoam-examples"
  if [ ! -f "$unpack/$CHEMFOAM_SUBDIR/h2/chemkin/chem.inp" ]; then
    echo "Unpacking the CHEMKIN cases of openfoam-examples into $unpack"
    mkdir -p "$unpack/deb"
    (cd "$unpack/deb" && rm -f ./*.deb && apt-get download openfoam-examples) || {
      echo "error: cannot download openfoam-examples" >&2; return 1; }
    dpkg-deb -x "$unpack"/deb/openfoam-examples_*.deb "$unpack"
  fi
  CHEMFOAM_DIR=$unpack/$CHEMFOAM_SUBDIR
}

# build_tarvel [CMAKE_ARGS...]: the Release build the programs run from.
build_tarvel() {
  cmake -S "$TARVEL_ROOT" -B "$TARVEL_BUILD" -DCMAKE_BUILD_TYPE=Release \
        -DTARVEL_CHEMFOAM_DIR="$CHEMFOAM_DIR" "$@" >/dev/null &&
  cmake --build "$TARVEL_BUILD" -j"$(nproc)"
}

# build_sanitized: a second build with AddressSanitizer and
# UndefinedBehaviorSanitizer, optimised lightly so the tests stay quick.
TARVEL_ASAN_BUILD=${TARVEL_ASAN_BUILD:-$TARVEL_ROOT/build-asan}
build_sanitized() {
  cmake -S "$TARVEL_ROOT" -B "$TARVEL_ASAN_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DTARVEL_SANITIZE=ON -DTARVEL_BENCH=OFF \
        -DTARVEL_CHEMFOAM_DIR="$CHEMFOAM_DIR" >/dev/null &&
  cmake --build "$TARVEL_ASAN_BUILD" -j"$(nproc)"
}
