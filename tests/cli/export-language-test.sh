#!/bin/sh
# The load messages and FKiSS warnings that "velquin --export" prints follow the environment's
# language: the original texts, byte for byte, under C, POSIX and Japanese; English under English
# and under a language without a catalog of its own. The console's own lines stay English.
# Usage: export-language-test.sh path/to/velquin
set -u
velquin=$1
# shellcheck source=../support/each-language.sh
. "$(dirname "$0")/../support/each-language.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
status=0

# A palette and a cel that are not there, a cel that is not one, and two broken FKiSS lines.
printf 'not a cel' >BAD.CEL
printf '%s\n' '(40,30)' '%NONE.KCF' '#1 GONE.CEL *0 :0' '#2 BAD.CEL *0 :0' '$0 10,10 10,10' \
    ';@EventHandler' ';@initialize()' ';@ bogus(1)' ';@ timer(1' >KISS.CNF

# What the export prints; the picture is written all the same.
export_set() {
    rm -f out.png
    # shellcheck disable=SC2069 # the messages only, without what goes to standard output
    env -i PATH="$PATH" "$@" "$velquin" --export out.png KISS.CNF 2>&1 >/dev/null
    [ -s out.png ] || echo 'no picture written'
}

each_language export_set "ファイル NONE.KCF を開けません。
ファイル BAD.CEL は，認識できないフォーマットです。
ファイル GONE.CEL を開けません。
KISS.CNF:8: warning: unknown command bogus
KISS.CNF:9: warning: timer: missing ')'" "Cannot open the file NONE.KCF.
The file BAD.CEL is not in a recognized format.
Cannot open the file GONE.CEL.
KISS.CNF:8: warning: unknown command bogus
KISS.CNF:9: warning: timer: missing ')'"

# English output holds no Japanese at all: no byte outside ASCII.
if export_set LANG=en_US.UTF-8 | LC_ALL=C grep -q '[^ -~]'; then
    echo 'English output holds characters outside ASCII' >&2
    status=1
fi

# The console's own lines stay English in every language.
for lang in C ja_JP.UTF-8 en_US.UTF-8; do
    actual=$(env -i PATH="$PATH" LANG=$lang "$velquin" --export out.png NONE.CNF 2>&1)
    if [ "$actual" != "velquin: cannot open NONE.CNF: No such file or directory" ]; then
        printf 'with LANG=%s: got %s\n' "$lang" "$actual" >&2
        status=1
    fi
done
exit $status
