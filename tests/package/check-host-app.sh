#!/usr/bin/env bash
# The library as a package, as a host project meets it:
#  - installs the build into a temporary prefix and checks what the package
#    holds: the library's headers (no internal/ folder, no test aid), its
#    resources, a CMake package and a pkg-config file that ask for nothing of
#    the simulator or the tests;
#  - checks that a host needs only the C++ toolchain and the run-time packages
#    of the library's dependencies: the installed headers together read no
#    file but the prefix's and the toolchain's, pkg-config's Cflags are
#    "-std=c++20 -I<include>" alone, and every library the package links is a
#    file of a run-time package (or of the C library);
#  - builds examples/host-app against it with only that prefix on
#    CMAKE_PREFIX_PATH, installs it beside the library and into a prefix of
#    its own, runs both and compares what they print with
#    examples/host-app/expected-output.txt (its last line: a timer the host
#    set without touching the clock fired in real time);
#  - builds the same program from `pkg-config --cflags --libs trc` alone;
#  - configures the library alone (all programs around it off) and as a host's
#    add_subdirectory with GoogleTest, Google Benchmark, CLI11, cpp-httplib
#    and libqrencode out of reach.
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
unwanted=$(find "$prefix" -path '*simulator*' -o -name 'Scenario*' -o -name internal -o -path '*testsupport*' \
    -o -name 'FaultInjecting*' -o -name 'TemporaryFolder*')
[ -z "$unwanted" ] || fail "the package holds what is no part of the library: $(echo "$unwanted" | head -3)"
if grep -rliE 'httplib|qrencode|CLI11|gtest|benchmark' "$prefix/lib/cmake/trc" "$prefix/lib/pkgconfig"; then
    fail "the package asks for a dependency of the simulator or the tests"
fi
if grep -rlE '#include "[a-z/]*internal/' "$prefix/include/trc"; then
    fail "an installed header includes an internal one"
fi

# The packages owning the given files, one a line; a file no package owns
# is named as "(none) FILE".
owners() {
    dpkg -S "$@" 2>"$work/dpkg.err" | sed 's|: /.*||' | tr ',' '\n' | sed 's/^ *//; s/:.*//' | sort -u
    sed -n 's/.*no path found matching pattern \(.*\)/(none) \1/p' "$work/dpkg.err"
}
# Packages of the toolchain: the compiler's and the C library's.
toolchain='^(libstdc\+\+-[0-9]+-dev|libgcc-[0-9]+-dev|libclang-common-[0-9]+-dev|libc6-dev|linux-libc-dev|libc6|libgcc-s1)$'

# Every installed header at once: the files read are the prefix's and the toolchain's.
for header in $(cd "$prefix/include/trc" && find . -name '*.h' | sort); do echo "#include \"${header#./}\""; done \
    >"$work/all-headers.cpp"
"$cxx" -std=c++20 -I"$prefix/include/trc" -M "$work/all-headers.cpp" >"$work/all-headers.d"
read_files=$(sed 's/\\$//; s/^[^:]*://' "$work/all-headers.d" | tr ' ' '\n' | sed '/^$/d' | xargs realpath -s |
    grep -v "^$work/" | sort -u)
others=$(owners $read_files | grep -vE "$toolchain" || true)
[ -z "$others" ] || fail "the installed headers read headers of other packages: $others"

# pkg-config gives the standard and the library's include folder, nothing of its dependencies.
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
cflags=$(pkg-config --cflags trc)
includedir=$(pkg-config --variable=includedir trc)
[ "$(realpath "$includedir")" = "$(realpath "$prefix/include/trc")" ] || fail "trc.pc's includedir is $includedir"
[ "$(echo $cflags)" = "-std=c++20 -I$includedir" ] || fail "trc.pc's Cflags are more than its own: $cflags"

# Every library the package links is a file of a run-time package (or the C library's).
link_files=()
for flag in $(pkg-config --libs trc); do
    case $flag in
        -l:*) link_files+=("$("$cxx" -print-file-name="${flag#-l:}")") ;;
        -ltrc) ;;
        -l*)
            file=$("$cxx" -print-file-name="lib${flag#-l}.so")
            [ "${file#/}" != "$file" ] || file=$("$cxx" -print-file-name="lib${flag#-l}.a")
            link_files+=("$file") ;;
    esac
done
for item in $(sed -n 's/.*INTERFACE_LINK_LIBRARIES "\(.*\)"/\1/p' "$prefix"/lib/cmake/trc/trcTargets.cmake | tr ';' '\n'); do
    case $item in /*) link_files+=("$item") ;; esac
done
[ "${#link_files[@]}" -gt 5 ] || fail "the package names too few libraries to link: ${link_files[*]}"
for file in "${link_files[@]}"; do
    [ -e "$file" ] || fail "the package links $file, which is not there"
    path=$(realpath -s "$file")
    packages=$(owners "$path")
    # With /usr merged, a package may list the file under /lib.
    if [ "$packages" = "(none) $path" ] && [ "${path#/usr/}" != "$path" ]; then packages=$(owners "/${path#/usr/}"); fi
    development=$(echo "$packages" | grep -E -- '-dev$|^\(none\)' | grep -vE "$toolchain" || true)
    [ -z "$development" ] || fail "the package links $file, of $development"
done

# A host project of its own, finding the package through the prefix alone.
unset CMAKE_PREFIX_PATH trc_DIR
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
host_app() {
    cmake -S "$source/examples/host-app" -B "$work/build" -G "$generator" -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" "${launcher[@]}" \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF \
        -DCMAKE_FIND_USE_SYSTEM_PACKAGE_REGISTRY=OFF "$@" >/dev/null
}
host_app
cmake --build "$work/build" >/dev/null
cmake --install "$work/build" --prefix "$prefix" >/dev/null
cmake --install "$work/build" --prefix "$work/elsewhere" >/dev/null

# Run from outside the build and source trees: the program finds the
# library's resources beside itself, in the library's prefix or its own.
expected=$source/examples/host-app/expected-output.txt
for app in "$prefix/bin/host-app" "$work/elsewhere/bin/host-app"; do
    (cd "$work" && env -u TRC_FRAMEWORK_BUNDLE "$app") >"$work/out.txt"
    diff -u "$expected" "$work/out.txt" || fail "$app printed something else (CMake package)"
done

# The pkg-config file alone builds the same program: no other flag.
read -r -a flags <<<"$(pkg-config --cflags --libs trc)"
"$cxx" -o "$prefix/bin/host-app-pc" "$source/examples/host-app/main.cpp" "${flags[@]}"
(cd "$work" && env -u TRC_FRAMEWORK_BUNDLE "$prefix/bin/host-app-pc") >"$work/out-pc.txt"
diff -u "$expected" "$work/out-pc.txt" || fail "host-app printed something else (pkg-config)"

# The library alone, and under a host's add_subdirectory, with what only the
# programs around it use out of reach: CMake packages disabled, pkg-config
# modules hidden.
mkdir -p "$work/pc"
for folder in $(pkg-config --variable pc_path pkg-config | tr ':' ' '); do
    for pc in "$folder"/*.pc; do
        case $(basename "$pc") in cpp-httplib.pc | libqrencode.pc | trc.pc) ;; *) [ -e "$pc" ] && ln -sf "$pc" "$work/pc/" ;; esac
    done
done
hidden=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
        -DCMAKE_DISABLE_FIND_PACKAGE_CLI11=ON)
PKG_CONFIG_LIBDIR=$work/pc PKG_CONFIG_PATH= cmake -S "$source" -B "$work/alone" -G "$generator" "${hidden[@]}" \
    -DTRC_TESTS=OFF -DTRC_SIMULATOR=OFF -DTRC_BENCHMARKS=OFF -DTRC_FUZZ=OFF >"$work/alone.log" 2>&1 ||
    { cat "$work/alone.log"; fail "the library alone does not configure without the programs' dependencies"; }
mkdir -p "$work/outer"
cat >"$work/outer/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(outer LANGUAGES CXX)
add_subdirectory("$source" trc)
add_executable(host-app "$source/examples/host-app/main.cpp")
target_link_libraries(host-app PRIVATE trc::trc)
foreach(target trc_simulator trc_tests trc_testsupport core_bench)
  if(TARGET \${target})
    message(FATAL_ERROR "add_subdirectory built \${target}")
  endif()
endforeach()
EOF
PKG_CONFIG_LIBDIR=$work/pc PKG_CONFIG_PATH= cmake -S "$work/outer" -B "$work/outer/build" -G "$generator" \
    "${hidden[@]}" >"$work/outer.log" 2>&1 ||
    { cat "$work/outer.log"; fail "a host's add_subdirectory does not configure without the programs' dependencies"; }
echo "package: installed, found by find_package and pkg-config with no dependency's development files," \
     "host-app ran as expected; the library alone needs none of the programs' dependencies"
