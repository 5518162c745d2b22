#!/usr/bin/env bash
# The library as a package, as a host project meets it: installs the build
# into a temporary prefix, checks what the package holds (the library's
# headers only, its resources, a CMake package and a pkg-config file that ask
# for no simulator dependency), builds examples/host-app against it with only
# that prefix on CMAKE_PREFIX_PATH, installs and runs it, and compares what it
# prints with examples/host-app/expected-output.txt. The same program is then
# built once more from the pkg-config file alone.
#
#   check-host-app.sh BUILD_DIR SOURCE_DIR CXX_COMPILER GENERATOR [BUILD_TYPE]
set -euo pipefail
build=$1 source=$2 cxx=$3 generator=$4 type=${5:-RelWithDebInfo}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "package: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

# What the package holds.
[ -f "$prefix/lib/libtrc.a" ] || fail "no lib/libtrc.a"
[ -f "$prefix/include/trc/host/FormCellContainerBridge.h" ] || fail "no library headers under include/trc"
[ -f "$prefix/share/trc/framework/en.lproj/FormCell.strings" ] || fail "no strings tables under share/trc/framework"
[ -f "$prefix/lib/cmake/trc/trcConfig.cmake" ] || fail "no lib/cmake/trc/trcConfig.cmake"
[ -f "$prefix/lib/pkgconfig/trc.pc" ] || fail "no lib/pkgconfig/trc.pc"
if find "$prefix" -path '*simulator*' -o -name 'Scenario*' | grep -q .; then
    fail "the simulator was installed: $(find "$prefix" -path '*simulator*' -o -name 'Scenario*' | head -3)"
fi
if grep -rliE 'httplib|qrencode|CLI11' "$prefix/lib/cmake/trc" "$prefix/lib/pkgconfig"; then
    fail "the package asks for a dependency of the simulator"
fi

# A host project of its own, finding the package through the prefix alone.
unset CMAKE_PREFIX_PATH PKG_CONFIG_PATH trc_DIR
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$source/examples/host-app" -B "$work/build" -G "$generator" -DCMAKE_BUILD_TYPE="$type" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" "${launcher[@]}" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_FIND_USE_SYSTEM_PACKAGE_REGISTRY=OFF >/dev/null
cmake --build "$work/build" >/dev/null
cmake --install "$work/build" --prefix "$prefix" >/dev/null

# Run from outside the build and source trees: the program finds the
# library's resources beside itself in the prefix.
expected=$source/examples/host-app/expected-output.txt
(cd "$work" && "$prefix/bin/host-app") >"$work/out.txt"
diff -u "$expected" "$work/out.txt" || fail "host-app printed something else (installed, CMake package)"

# The pkg-config file alone builds the same program.
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
read -r -a flags <<<"$(pkg-config --cflags --libs trc)"
"$cxx" -std=c++20 -o "$prefix/bin/host-app-pc" "$source/examples/host-app/main.cpp" "${flags[@]}"
(cd "$work" && "$prefix/bin/host-app-pc") >"$work/out-pc.txt"
diff -u "$expected" "$work/out-pc.txt" || fail "host-app printed something else (pkg-config)"
echo "package: installed, found by find_package and pkg-config, host-app ran as expected"
