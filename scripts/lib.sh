# The helpers every script of the project shares; sourced, never run:
#   say TEXT...     a line of progress on standard error, after the script's tag
#   die TEXT...     the error on standard error, then exit 1
#   now             the time in seconds; took START: "N s" since START
#   as_root CMD...  CMD as root: as is when root, else through sudo
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
