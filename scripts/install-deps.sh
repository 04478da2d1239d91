#!/usr/bin/env bash
# Installs, only if missing, the Debian packages that DRUMHOLD needs, as the
# one list of them says: debian/control's Build-Depends, where a build profile
# marks what each package is for. Safe to run again: it does nothing when all
# are present.
# Usage: scripts/install-deps.sh [--tests] [NAME...]
#   no argument: building and playing (the unmarked packages, build-essential
#     and the package's own Depends, its font);
#   --tests: the tests too (the packages marked <!nocheck>);
#   NAME: what make NAME needs besides (those marked <pkg.drumhold.NAME>:
#     windows, web, cross, release).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/lib.sh"

profiles=(nocheck)
for arg; do
    case $arg in
        --tests) profiles=("${profiles[@]/nocheck}") ;;
        -*) die "unknown option $arg (usage: $0 [--tests] [NAME...])" ;;
        *) profiles+=("pkg.drumhold.$arg") ;;
    esac
done

# control_field FIRST_LINE FIELD: the FIELD of debian/control's stanza that
# starts with FIRST_LINE, on one line; comment lines may stand inside a field.
control_field() {
    awk -v first="$1" -v field="$2:" '
        /^#/ { next }
        /^[ \t]*$/ { stanza = 0; on = 0; next }
        $0 == first { stanza = 1 }
        /^[^ \t]/ { on = stanza && $1 == field; if (!on) next; sub(/^[^:]*:/, "") }
        on { printf "%s ", $0 }' "$repo/debian/control"
}

active() { [[ " ${profiles[*]} " == *" $1 "* ]]; }

# selected ENTRY: whether the active profiles select a relation "name <a !b> <c>":
# one with no restriction list always, else when every term of one list holds.
selected() {
    local lists list term ok
    lists=$(grep -o '<[^>]*>' <<<"$1" | tr -d '<>') || return 0
    while read -r list; do
        ok=1
        for term in $list; do
            if [[ $term == !* ]]; then ! active "${term#!}" || ok=0; else active "$term" || ok=0; fi
        done
        [ "$ok" = 0 ] || return 0
    done <<<"$lists"
    return 1
}

# Debian leaves build-essential (the compiler, make, dpkg-dev) out of the list.
packages=(build-essential)
IFS=, read -ra relations <<<"$(control_field 'Source: drumhold' Build-Depends)"
for relation in "${relations[@]}"; do
    read -r name _ <<<"$relation"
    [ -n "$name" ] || continue
    [[ $relation != *'|'* ]] || die "debian/control: '$relation': an alternative is more than this script reads"
    selected "$relation" || continue
    # debhelper runs debian/rules, which only the package's own build uses.
    if [ "$name" = debhelper-compat ]; then
        active pkg.drumhold.release || continue
        name=debhelper
    fi
    packages+=("$name")
done
# What the game needs to run that its libraries do not bring: its font.
IFS=, read -ra relations <<<"$(control_field 'Package: drumhold' Depends)"
for relation in "${relations[@]}"; do
    read -r name _ <<<"$relation"
    [[ -z $name || $name == '${'* ]] || packages+=("$name")
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | awk '!seen[$0]++'); do
    # One query, no pipe: under pipefail a reader that stops early could make
    # an installed package look missing.
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -gt 0 ] || exit 0

say "installing ${missing[*]}"
# A fresh machine has no package lists yet; refresh them once before installing.
# Another apt run on the machine (a second build) is waited for, not failed on.
apt_update
as_root apt-get install -y -q -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
