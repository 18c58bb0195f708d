#!/bin/sh
# The load messages and FKiSS warnings that "velquin --export" prints follow the environment's
# language: the original texts, byte for byte, under C, POSIX and Japanese; English under English
# and under a language without a catalog of its own. The console's own lines stay English.
# Usage: export-language-test.sh path/to/velquin
set -u
velquin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
status=0

# A palette and a cel that are not there, a cel that is not one, and two broken FKiSS lines.
printf 'not a cel' >BAD.CEL
printf '%s\n' '(40,30)' '%NONE.KCF' '#1 GONE.CEL *0 :0' '#2 BAD.CEL *0 :0' '$0 10,10 10,10' \
    ';@EventHandler' ';@initialize()' ';@ bogus(1)' ';@ timer(1' >KISS.CNF

expect() {
    expected=$1
    shift
    actual=$(env -i PATH="$PATH" "$@" "$velquin" --export out.png KISS.CNF 2>&1 >/dev/null)
    if [ "$actual" != "$expected" ]; then
        printf 'with %s:\nexpected:\n%s\ngot:\n%s\n' "$*" "$expected" "$actual" >&2
        status=1
    fi
    if [ ! -s out.png ]; then
        printf 'with %s: no picture written\n' "$*" >&2
        status=1
    fi
    rm -f out.png
}

original="ファイル NONE.KCF を開けません。
ファイル BAD.CEL は，認識できないフォーマットです。
ファイル GONE.CEL を開けません。
KISS.CNF:8: warning: unknown command bogus
KISS.CNF:9: warning: timer: missing ')'"
english="Cannot open the file NONE.KCF.
The file BAD.CEL is not in a recognized format.
Cannot open the file GONE.CEL.
KISS.CNF:8: warning: unknown command bogus
KISS.CNF:9: warning: timer: missing ')'"

expect "$original"
expect "$original" LANG=C
expect "$original" LC_ALL=POSIX LANG=en_US.UTF-8
expect "$original" LANGUAGE=en LANG=C
expect "$original" LANG=ja_JP.UTF-8
expect "$original" LANGUAGE=ja LANG=en_US.UTF-8
expect "$english" LANG=en_US.UTF-8
expect "$english" LC_MESSAGES=en_GB.UTF-8 LANG=ja_JP.UTF-8
expect "$english" LANGUAGE=fr LANG=ja_JP.UTF-8
expect "$english" LANG=fr_FR.UTF-8

# English output holds no Japanese at all: no byte of a multibyte character.
if env -i PATH="$PATH" LANG=en_US.UTF-8 "$velquin" --export out.png KISS.CNF 2>&1 >/dev/null |
    LC_ALL=C grep -q '[^ -~]'; then
    echo 'English output holds characters outside ASCII' >&2
    status=1
fi

# The console's own lines stay English in every language.
for lang in C ja_JP.UTF-8 en_US.UTF-8; do
    actual=$(env -i PATH="$PATH" LANG=$lang "$velquin" --export out.png NONE.CNF 2>&1)
    case $actual in
    "velquin: cannot open NONE.CNF: No such file or directory") ;;
    *)
        printf 'with LANG=%s: got %s\n' "$lang" "$actual" >&2
        status=1
        ;;
    esac
done
exit $status
