#!/usr/bin/env bash
# Installs what is missing, builds, and opens the demo menu.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
ensure_packages $BUILD_PACKAGES
cmake -S . -B build -DAUTOMENU_TESTS=OFF -DAUTOMENU_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target automenu
dir=examples/demo
[ -d "$dir" ] || dir=$(mktemp -d)
cd "$dir"
exec "$OLDPWD/build/automenu"
