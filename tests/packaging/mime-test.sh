#!/usr/bin/env bash
# Builds a scratch MIME database from the description, as the system's does on installation,
# and checks that configuration files are matched by name alone, in any letter case.
# Usage: mime-test.sh DESCRIPTION
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/packages"
cp "$1" "$scratch/packages/"
# It notes on standard error that the scratch folder is not searched; failures are its status.
update-mime-database "$scratch" 2>/dev/null
# Lower-case patterns without the case-sensitive flag match names in any case.
grep -qx '50:text/x-kiss-cnf:\*\.cnf' "$scratch/globs2"
grep -q 'text/x-kiss-cnf' "$scratch/subclasses"
! grep -q 'text/x-kiss-cnf' "$scratch/magic"
