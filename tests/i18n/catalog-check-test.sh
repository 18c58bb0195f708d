#!/bin/sh
# The catalog check itself: it passes the real catalog and fails each kind of fault.
# Usage: catalog-check-test.sh check-catalog.sh velquin.pot en.po
set -u
check=$1
pot=$2
po=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

"$check" "$pot" "$po" || { echo "the real catalog fails" >&2; status=1; }

first=$(sed -n 's/^msgid "\(..*\)"$/\1/p' "$po" | head -n 1)
# Fuzzy, untranslated, missing, and an entry for a text the sources no longer have.
sed "s/^msgid \"$first\"\$/#, fuzzy\nmsgid \"$first\"/" "$po" >"$work/fuzzy.po"
awk -v id="msgid \"$first\"" '$0 == id { print; getline; print "msgstr \"\""; next } { print }' \
    "$po" >"$work/untranslated.po"
awk -v id="msgid \"$first\"" '$0 == id { getline; next } { print }' "$po" >"$work/missing.po"
{ cat "$po"; printf '\nmsgid "もう使われない"\nmsgstr "No longer used"\n'; } >"$work/unused.po"

for fault in fuzzy untranslated missing unused; do
    if "$check" "$pot" "$work/$fault.po" 2>/dev/null; then
        echo "a $fault entry passes the check" >&2
        status=1
    fi
done
exit $status
