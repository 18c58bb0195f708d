# shellcheck shell=sh
# Sourced by the console programs' language tests. each_language RUN ORIGINAL ENGLISH calls the
# function RUN with the locale variables of one environment as its arguments, for each of the
# environments below, and compares what it prints with the original texts under C, POSIX and
# Japanese and with the English ones under English and under a language without a catalog of
# its own. Sets status to 1 on any difference.
each_language() {
    run=$1
    original=$2
    english=$3
    while read -r language variables; do
        if [ "$language" = original ]; then expected=$original; else expected=$english; fi
        # shellcheck disable=SC2086 # each variable is a word of its own
        actual=$("$run" $variables)
        if [ "$actual" != "$expected" ]; then
            printf 'with %s:\nexpected:\n%s\ngot:\n%s\n' "$variables" "$expected" "$actual" >&2
            # shellcheck disable=SC2034 # the sourcing script's exit status
            status=1
        fi
    done <<'ENVIRONMENTS'
original
original LANG=C
original LC_ALL=POSIX LANG=en_US.UTF-8
original LANGUAGE=en LANG=C
original LANG=ja_JP.UTF-8
original LANGUAGE=ja LANG=en_US.UTF-8
english LANG=en_US.UTF-8
english LC_MESSAGES=en_GB.UTF-8 LANG=ja_JP.UTF-8
english LANG=fr_FR.UTF-8
english LANGUAGE=de LANG=de_DE.UTF-8
english LANGUAGE=fr LANG=ja_JP.UTF-8
ENVIRONMENTS
}
