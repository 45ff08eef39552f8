#!/usr/bin/env bash
# --help and --version answer on standard output, without a display, and exit 0; an unknown
# option or argument gets a message on standard error and exit status 2. None of them touches
# the program's directory. Usage: command-line.sh <program> <version>
set -euo pipefail
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$1" "$work/numerisphere" # a portable copy: its settings would land beside it
cd "$work"
unset DISPLAY WAYLAND_DISPLAY
for option in --help -h --help-all; do
    ./numerisphere "$option" | grep -q -- '--version'
done
test "$(./numerisphere --version)" = "Numerisphere $2"
for wrong in --bogus extra; do
    status=0
    ./numerisphere "$wrong" >out 2>err || status=$?
    test "$status" -eq 2 && test ! -s out && grep -q "Try 'numerisphere --help'" err
done
test "$(ls)" = "$(printf 'err\nnumerisphere\nout')"
