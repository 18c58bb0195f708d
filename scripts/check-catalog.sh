#!/bin/sh
# Checks one language's catalog against the extracted template: every marked text has a
# translation, none is fuzzy, none is left over from a text that is gone, and the formats agree.
# Usage: check-catalog.sh velquin.pot en.po
set -eu
pot=$1
po=$2
status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Missing or untranslated: msgcmp counts fuzzy and empty entries as missing too.
if ! msgcmp "$po" "$pot" 2>"$work/missing"; then
    echo "$po: texts without a translation:" >&2
    cat "$work/missing" >&2
    status=1
fi

msgattrib --only-fuzzy --no-obsolete "$po" >"$work/fuzzy"
if [ -s "$work/fuzzy" ]; then
    echo "$po: fuzzy entries:" >&2
    cat "$work/fuzzy" >&2
    status=1
fi

# Unused: entries whose text no longer occurs in the sources, and any kept as obsolete.
msgmerge --quiet --no-fuzzy-matching --output-file="$work/merged.po" "$po" "$pot"
msgattrib --only-obsolete "$work/merged.po" >"$work/unused"
if [ -s "$work/unused" ]; then
    echo "$po: entries for texts that are no longer used:" >&2
    cat "$work/unused" >&2
    status=1
fi

if ! msgfmt --check --output-file=/dev/null "$po"; then
    status=1
fi
exit $status
