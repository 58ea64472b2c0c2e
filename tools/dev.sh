#!/usr/bin/env bash
# Takes a Debian 12 machine from a checkout to a built Tolvane: installs what is missing, builds
# (incrementally after the first time), then runs the program, the tests or the sanitizer tests.
#   tools/dev.sh run        build and start the program on the demo installation
#   tools/dev.sh test       build and run the whole test suite
#   tools/dev.sh sanitize   build with AddressSanitizer and UBSan and run the core tests
#   tools/dev.sh release    build as packagers do (Release) and run the core tests
#   tools/dev.sh package    the release build made into a Debian package in build-release, then
#                           checked by tools/check-package.sh
#   tools/dev.sh fuzz       build the fuzz targets with libFuzzer, ASan and UBSan (clang) and run
#                           each for FUZZ_SECONDS (60) from its seeds; any crash fails
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          libcsv-dev qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation lrzsz socat librsvg2-bin)

install_missing() {
    local missing=()
    for package in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo=sudo
        $sudo apt-get update
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_WERROR=ON "$@"
    fi
    cmake --build "$dir"
}

# The package is made from this build, so CI packages what the release step built and tested.
release_build() {
    # Later options win: the optimiser's own warnings must not appear either.
    build build-release -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BUILD_BENCH=OFF
}

install_missing
case "${1:-}" in
run)
    build build
    ./build/src/gui/tolvane --demo
    ;;
test)
    build build
    ctest --test-dir build --output-on-failure
    ;;
sanitize)
    build build-sanitize -DTOLVANE_SANITIZE=ON -DTOLVANE_BUILD_BENCH=OFF -DTOLVANE_BUILD_GUI=OFF
    ctest --test-dir build-sanitize -L core --output-on-failure
    ;;
release)
    release_build
    ctest --test-dir build-release -L core --output-on-failure
    ;;
package)
    packages=(dpkg-dev lintian desktop-file-utils appstream shared-mime-info bash-completion file)
    install_missing
    release_build
    rm -f build-release/tolvane_*.deb
    cpack -G DEB --config build-release/CPackConfig.cmake -B build-release
    bash tools/check-package.sh build-release/tolvane_*.deb
    ;;
fuzz)
    packages=(clang libclang-rt-14-dev)
    install_missing
    CXX=clang++ build build-fuzz -DTOLVANE_LIBFUZZER=ON -DTOLVANE_SANITIZE=ON \
        -DTOLVANE_BUILD_TESTS=OFF -DTOLVANE_BUILD_BENCH=OFF -DTOLVANE_BUILD_GUI=OFF
    # libFuzzer adds what it finds to the first folder: a working copy, never the seeds in the
    # tree. A crash leaves its input in build-fuzz/crashes; it belongs in the seeds once fixed.
    mkdir -p build-fuzz/crashes
    for target in image profile csv; do
        mkdir -p "build-fuzz/corpus/$target"
        max_len=16384
        [ "$target" != image ] && max_len=4096
        "./build-fuzz/fuzz/tolvane_fuzz_$target" -max_total_time="${FUZZ_SECONDS:-60}" \
            -max_len="$max_len" -artifact_prefix=build-fuzz/crashes/ \
            "build-fuzz/corpus/$target" "tests/data/fuzz/$target"
    done
    ;;
*)
    echo "usage: tools/dev.sh run|test|sanitize|release|package|fuzz" >&2
    exit 64
    ;;
esac
