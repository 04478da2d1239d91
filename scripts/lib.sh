# The helpers every script of the project shares; sourced, never run:
#   say TEXT...     a line of progress on standard error, after the script's tag
#   die TEXT...     the error on standard error, then exit 1
#   now             the time in seconds; took START: "N s" since START
#   as_root CMD...  CMD as root: as is when root, else through sudo
#   apt_update      apt's package lists refreshed, once a run
#   archive_stanzas TYPE, archive_lines TYPE: this machine's Debian archive
#   lintian_clean FILE...  lintian finds no error or warning in them
#   open_cache, step, close_cache: a folder made once into ~/.cache/drumhold
# The tag is $tag when the script sets one before sourcing, else its name.

tag=${tag:-$(basename "$0" .sh)}

say() { echo "$tag: $*" >&2; }
die() { echo "$tag: error: $*" >&2; exit 1; }
now() { date +%s; }
took() { echo "$(($(now) - $1)) s"; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        # No password prompt without a terminal to answer it: fail instead of hanging.
        if [ -t 0 ]; then sudo "$@"; else sudo -n "$@"; fi
    else
        die "not root and no sudo; run as root: $*"
    fi
}

export DEBIAN_FRONTEND=noninteractive
updated=0
apt_update() {
    [ "$updated" -eq 1 ] && return 0
    local t; t=$(now)
    as_root apt-get update -qq || die "apt-get update failed"
    updated=1
    say "package lists refreshed in $(took "$t")"
}

# --- this machine's Debian archive ---------------------------------------------
# archive_stanzas TYPE: the deb822 stanzas of /etc/apt/sources.list.d/*.sources
# that fetch binary packages from a Debian archive, with their type turned to
# TYPE (deb, deb-src); URIs, suites, components and keyring stay the same.
archive_stanzas() {
    local files=() f
    for f in /etc/apt/sources.list.d/*.sources; do [ -f "$f" ] && files+=("$f"); done
    [ ${#files[@]} -gt 0 ] || return 0
    awk -v type="$1" '
        function flush() {
            if (n && deb && debian && enabled) { for (i = 1; i <= n; i++) print kept[i]; print "" }
            n = 0; deb = 0; debian = 0; enabled = 1
        }
        BEGIN { enabled = 1 }
        FNR == 1 { flush() }
        /^[ \t]*$/ { flush(); next }
        /^#/ { next }
        {
            line = $0; key = tolower($1)
            if (key == "types:") { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1; line = "Types: " type }
            else if (key == "uris:" && tolower($0) ~ /debian/) debian = 1
            else if (key == "enabled:" && tolower($2) == "no") enabled = 0
            kept[++n] = line
        }
        END { flush() }' "${files[@]}"
}

# archive_lines TYPE: the same from the one-line entries of sources.list(.d).
archive_lines() {
    local files=() f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do [ -f "$f" ] && files+=("$f"); done
    [ ${#files[@]} -gt 0 ] || return 0
    awk -v type="$1" '$1 == "deb" && tolower($0) ~ /debian/ { $1 = type; print }' "${files[@]}"
}

# lintian_clean FILE...: lintian's errors and warnings end the script; its
# other findings are shown (its notice that it runs as root is no finding).
lintian_clean() {
    local status=0 out
    out=$(lintian --fail-on error,warning "$@" 2>&1) || status=$?
    out=$(grep -v 'running with root privileges' <<<"$out" || true)
    [ "$status" = 0 ] || die "lintian:"$'\n'"$out"
    say "lintian: ${*##*/} clean${out:+:$'\n'$out}"
}

# --- a cache folder --------------------------------------------------------------
# open_cache ROOT NAME=VERSION... [-- FILE...]: the cache folder ($prefix) in
# ROOT, held under a lock against a second run; the calling script prints it
# on file descriptor 3. Its name is the one rule of every cache: the versions
# its contents are made from, then 8 hex digits of a hash of the recipe (the
# calling script and each FILE, such as the steps it shares or a toolchain
# file, comments and blank lines aside), so that a change to any of them makes
# it afresh. When it is complete, prints it and ends the script; otherwise
# starts it afresh and enters its scratch folder ($work).
open_cache() {
    local root=$1 key="" recipe=("$0")
    shift
    versions=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do versions+=("$1"); key+="${1/=/-}_"; shift; done
    [ $# -eq 0 ] || { shift; recipe+=("$@"); }
    key+=$(sed -e '/^[[:space:]]*#/d' -e '/^[[:space:]]*$/d' "${recipe[@]}" | sha256sum | cut -c1-8)
    prefix=$root/$key
    work=$prefix.work
    mkdir -p "$root"
    exec 9>"$root/.lock"
    flock -w 3600 9 || die "another $tag run has held $root/.lock for an hour"
    if [ -f "$prefix/.complete" ]; then
        say "ready in $prefix"
        echo "$prefix" >&3
        exit 0
    fi
    rm -rf "$prefix" "$work"
    mkdir -p "$work" "$prefix"
    cd "$work"
}

# step NAME COMMAND...: the output in NAME.log, shown in part only on failure.
step() {
    local name=$1 t; shift
    t=$(now)
    if ! "$@" >"$name.log" 2>&1; then
        tail -n 40 "$name.log" >&2
        die "building $name failed; the whole log is $work/$name.log"
    fi
    say "built $name in $(took "$t")"
}

# close_cache: marks the cache folder complete (its .complete lists the
# versions), drops the scratch folder and prints the folder.
close_cache() {
    printf '%s\n' "${versions[@]/=/ }" >"$prefix/.complete"
    cd "$prefix/.."
    rm -rf "$work"
    say "ready in $prefix ($(du -sh "$prefix" | cut -f1))"
    echo "$prefix" >&3
}
