# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the package tests: build_deb BUILD_DIR OUT_DIR VERSION builds the
# Debian package from the build tree into OUT_DIR and sets deb to its path;
# on failure it prints what cpack said and exits the test with 1.

build_deb() {
    local build=$1 out=$2 version=$3
    if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out.cpack.log" 2>&1; then
        echo "FAIL: cpack failed"
        cat "$out.cpack.log"
        exit 1
    fi
    deb="$out/vorlo_${version}_amd64.deb"
    if ! [ -s "$deb" ]; then
        echo "FAIL: cpack made no vorlo_${version}_amd64.deb, or an empty one:"
        ls "$out"
        exit 1
    fi
}
