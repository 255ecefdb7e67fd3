#!/usr/bin/env bash
# Builds a game on the installed SDK as its users do. The game (consumer/) has its own platform/,
# runtime/ and gui/ folders and classes named like the runtime's internals (Node, Planner, LineFile).
# The SDK is installed twice: to a private prefix, and staged for /usr with DESTDIR as a package is.
#   1. find_package: built against the private prefix; configured against the staged /usr as well;
#   2. pkg-config: built against the staged /usr; its flags for the private prefix checked as well;
#   3. add_subdirectory of the source tree: configured only; it must bring the runtime's libraries
#      and tools and nothing else of ours, and no include root but include/.
# Each built game runs headless and must exit 0 and print the path of a screenshot that exists.
# Usage: sdk_test.sh <source folder> <build folder of the source>
set -euo pipefail
source_dir=$(realpath "$1")
build_dir=$(realpath "$2")
consumer="$source_dir/tests/sdk/consumer"
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

# An installed tree: only tmv/ under include/, and the package files where GNUInstallDirs puts them.
check_layout() {
    local name=$1 root=$2
    [ "$(ls "$root/include")" = tmv ] || fail "$name: include/ holds more than tmv/: $(ls "$root/include")"
    [ -f "$root/$libdir/pkgconfig/tmv.pc" ] || fail "$name: no $libdir/pkgconfig/tmv.pc"
    [ -f "$root/$libdir/cmake/TMV/TMVConfig.cmake" ] || fail "$name: no $libdir/cmake/TMV/TMVConfig.cmake"
    [ -f "$root/share/tmv/menu.png" ] || fail "$name: no share/tmv/menu.png"
}

# Every -I and -L of pkg-config's answer is a folder of the installed tree.
check_pkg_config() {
    local name=$1 root=$2 flag
    for flag in $(PKG_CONFIG_PATH="$root/$libdir/pkgconfig" pkg-config --cflags --libs tmv); do
        case "$flag" in
        -I* | -L*)
            [ -d "${flag:2}" ] || fail "$name: pkg-config names $flag, which does not exist"
            case "$(realpath "${flag:2}")" in "$(realpath "$root")"/*) ;; /usr/*) ;; *) fail "$name: pkg-config names $flag" ;; esac
            ;;
        esac
    done
}

libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:[A-Z]*=//p' "$build_dir/CMakeCache.txt")
prefix="$work/prefix"
stage="$work/stage"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
DESTDIR="$stage" cmake --install "$build_dir" --prefix /usr >/dev/null
check_layout "private prefix" "$prefix"
check_layout "staged /usr" "$stage/usr"

cmake -S "$consumer" -B "$work/find-package" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/find-package" -j"$jobs" >/dev/null
run_headless "consumer (find_package, private prefix)" "$work/find-package/consumer"
cmake -S "$consumer" -B "$work/find-package-usr" -DCMAKE_PREFIX_PATH="$stage/usr" >/dev/null ||
    fail "find_package does not take the staged /usr"

check_pkg_config "private prefix" "$prefix"
check_pkg_config "staged /usr" "$stage/usr"
mkdir "$work/pkg-config"
flags=$(PKG_CONFIG_PATH="$stage/usr/$libdir/pkgconfig" pkg-config --cflags --libs tmv)
# shellcheck disable=SC2086 # the flags are words
c++ -o "$work/pkg-config/consumer" -I"$consumer" "$consumer/main.cpp" $flags
cp "$stage/usr/share/tmv/menu.png" "$stage/usr/share/tmv/smalfont.bmp" "$work/pkg-config/"
run_headless "consumer (pkg-config, staged /usr)" "$work/pkg-config/consumer"

cmake -S "$consumer" -B "$work/subdirectory" -DTMV_SOURCE_DIR="$source_dir" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    >/dev/null
targets=$(cmake --build "$work/subdirectory" --target help | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p')
for target in $targets; do
    case "$target" in
    *.o | *.i | *.s) ;; # the Makefiles' per-file targets
    consumer | sbx_pack | make_font_images | tmv_* | all | clean | depend | edit_cache | rebuild_cache | install* | list_install_components) ;;
    *) fail "add_subdirectory brings the target $target" ;;
    esac
done
if grep '"command"' "$work/subdirectory/compile_commands.json" | grep 'consumer\.dir/main\.cpp' | grep -q -- "-I$source_dir "; then
    fail "add_subdirectory puts the source tree's top on the game's include path"
fi

[ "$failures" -eq 0 ]
