#!/bin/sh
# Tarnel's messages follow the environment's language: the original texts under C, POSIX and
# Japanese, English under English and under a language without a catalog of its own.
# Usage: tarnel-language-test.sh path/to/tarnel
set -u
tarnel=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
status=0

# One skipped name and one bitmap that is not there: two messages, no file needed.
expect() {
    expected=$1
    shift
    actual=$(env -i PATH="$PATH" "$@" "$tarnel" note.txt A.bmp)
    if [ "$actual" != "$expected" ]; then
        printf 'with %s:\nexpected:\n%s\ngot:\n%s\n' "$*" "$expected" "$actual" >&2
        status=1
    fi
}

original='入力ファイル note.txtをスキップします
入力ファイル A.bmpがオープンできません'
english='Skipping input file note.txt
Cannot open input file A.bmp'

expect "$original"
expect "$original" LANG=C
expect "$original" LC_ALL=POSIX LANG=en_US.UTF-8
expect "$original" LANGUAGE=en LANG=C
expect "$original" LANG=ja_JP.UTF-8
expect "$original" LANGUAGE=ja LANG=en_US.UTF-8
expect "$english" LANG=en_US.UTF-8
expect "$english" LC_MESSAGES=en_GB.UTF-8 LANG=ja_JP.UTF-8
expect "$english" LANG=fr_FR.UTF-8
expect "$english" LANGUAGE=de LANG=de_DE.UTF-8
exit $status
