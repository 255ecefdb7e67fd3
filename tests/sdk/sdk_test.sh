#!/usr/bin/env bash
# Builds games on the runtime as its users do, each run headless, which must exit 0 and print the path
# of a screenshot that exists:
#   1. the example against an installed SDK through find_package, from a copy outside the source tree;
#   2. a one-file program through pkg-config alone;
#   3. a consumer that adds the source tree with add_subdirectory, which must build the runtime's
#      libraries and tools and nothing else of ours.
# Usage: sdk_test.sh <source folder> <build folder of the source>
set -euo pipefail
source_dir=$(realpath "$1")
build_dir=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
jobs=$(nproc)
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# Runs a game in its own folder; it must end by itself with status 0 and print a screenshot's path.
run_headless() {
    local name=$1 program=$2 out status=0
    out=$(cd "$(dirname "$program")" && timeout 60 "$program" 2>&1) || status=$?
    local shot
    shot=$(printf '%s\n' "$out" | grep -E '\.png$' | tail -n 1 || true)
    if [ "$status" -ne 0 ]; then
        fail "$name exited with $status: $out"
    elif [ -z "$shot" ] || [ ! -s "$shot" ]; then
        fail "$name printed no screenshot: $out"
    else
        echo "ok: $name ran headless and saved $shot"
    fi
}

# No path of the source tree may reach the compiler of a game built on the installed SDK.
check_no_source_paths() {
    local name=$1 commands=$2
    if grep -q -- "-I$source_dir\|-isystem $source_dir" "$commands"; then
        fail "$name compiles with the source tree on its include path"
    fi
}

prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

cp -r "$source_dir/examples/breakout" "$work/breakout"
cmake -S "$work/breakout" -B "$work/breakout-build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build "$work/breakout-build" -j"$jobs" >/dev/null
check_no_source_paths breakout "$work/breakout-build/compile_commands.json"
run_headless "breakout (find_package)" "$work/breakout-build/breakout"

mkdir "$work/hello"
flags=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --static --cflags --libs tmv)
# shellcheck disable=SC2086 # the flags are words
c++ -o "$work/hello/hello" "$source_dir/tests/sdk/hello.cpp" $flags
case "$flags" in *"$source_dir"*) fail "pkg-config flags name the source tree: $flags" ;; esac
cp "$prefix/share/tmv/smalfont.bmp" "$work/hello/"
run_headless "hello (pkg-config)" "$work/hello/hello"

cmake -S "$source_dir/tests/sdk/consumer" -B "$work/consumer" -DTMV_SOURCE_DIR="$source_dir" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=$(cmake --build "$work/consumer" --target help | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p')
for target in $targets; do
    case "$target" in
    *.o | *.i | *.s) ;; # the Makefiles' per-file targets
    hello | sbx_pack | make_font_images | tmv_* | all | clean | depend | edit_cache | rebuild_cache | install* | list_install_components) ;;
    *) fail "add_subdirectory brings the target $target" ;;
    esac
done
cmake --build "$work/consumer" -j"$jobs" --target hello >/dev/null
run_headless "hello (add_subdirectory)" "$work/consumer/hello"

[ "$failures" -eq 0 ]
