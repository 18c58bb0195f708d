#!/bin/sh
# Tarnel's messages follow the environment's language: the original texts under C, POSIX and
# Japanese, English under English and under a language without a catalog of its own.
# Usage: tarnel-language-test.sh path/to/tarnel
set -u
tarnel=$1
# shellcheck source=../support/each-language.sh
. "$(dirname "$0")/../support/each-language.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
status=0

# One skipped name and one bitmap that is not there: two messages, no file needed.
convert() {
    env -i PATH="$PATH" "$@" "$tarnel" note.txt A.bmp
}

each_language convert '入力ファイル note.txtをスキップします
入力ファイル A.bmpがオープンできません' 'Skipping input file note.txt
Cannot open input file A.bmp'
exit $status
