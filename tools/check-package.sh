#!/usr/bin/env bash
# Checks the Debian package that tools/dev.sh package built, as a user's machine would meet it:
# its contents against tests/data/package-contents.txt and their modes, the desktop entry, the
# AppStream metadata, the MIME type, the man pages and the shell completion, lintian (errors fail,
# warnings are shown), the programs run from the unpacked package, and, as root on a machine
# where tolvane is not installed, dpkg -i and dpkg -r leaving nothing behind.
#   tools/check-package.sh PACKAGE.deb
# Every check runs; the script fails at the end when any of them failed.
set -euo pipefail
deb=$(realpath "$1")
cd "$(dirname "$0")/.."

work=$(mktemp -d)
root=$work/root
failed=()
trap 'rm -rf "$work"' EXIT

step() { echo "== $*"; }
fail() {
    echo "FAILED: $*" >&2
    failed+=("$*")
}

# Only the file names are kept in the expected list; the modes are the same rule for all.
step "contents"
dpkg-deb -c "$deb" >"$work/listing"
awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' "$work/listing" | LC_ALL=C sort >"$work/files"
diff -u tests/data/package-contents.txt "$work/files" || fail "contents differ from the expected list"
awk '$2 != "root/root" ||
     ($1 ~ /^d/ && $1 != "drwxr-xr-x") ||
     ($1 ~ /^-/ && $6 ~ "^./usr/bin/" && $1 != "-rwxr-xr-x") ||
     ($1 ~ /^-/ && $6 !~ "^./usr/bin/" && $1 != "-rw-r--r--") ||
     $1 !~ /^[d-]/' "$work/listing" >"$work/bad-modes"
[ ! -s "$work/bad-modes" ] || {
    cat "$work/bad-modes"
    fail "owner or mode wrong"
}

dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)

step "programs stripped"
for program in "$root"/usr/bin/*; do
    file "$program" | grep -q ', stripped' || fail "$program is not stripped"
done

# The version is the project's; the changelog and the metadata name it too, as their newest entry.
step "version $version"
changelog_version=$(zcat "$root/usr/share/doc/tolvane/changelog.gz" | sed -n '1s/^tolvane (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] || fail "changelog names $changelog_version"
metainfo=$root/usr/share/metainfo/org.tolvane.Tolvane.metainfo.xml
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$release" = "$version" ] || fail "metainfo's newest release is $release"

step "desktop entry"
desktop=$root/usr/share/applications/tolvane.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"

step "AppStream metadata"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

# The MIME database built from the package alone knows the type by its glob, and the desktop entry
# opens that type.
step "MIME type"
mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$root/usr/share/mime/packages/tolvane.xml")
cp -r "$root/usr/share/mime" "$work/mime"
XDG_DATA_DIRS=$work update-mime-database "$work/mime" || fail "update-mime-database"
grep -q ":$mime_type:\*\.mem$" "$work/mime/globs2" || fail "no *.mem glob for $mime_type"
grep -qx "MimeType=$mime_type;" "$desktop" || fail "the desktop entry does not open $mime_type"

step "man pages"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    if ! zcat "$page" | groff -man -ww -z 2>"$work/groff" || [ -s "$work/groff" ]; then
        cat "$work/groff"
        fail "$(basename "$page") has roff warnings"
    fi
done

# Every command of tolvane-cli's usage is completed and has its section in the man page.
step "completion and man page against the usage"
cli=$root/usr/bin/tolvane-cli
completion=$root/usr/share/bash-completion/completions/tolvane-cli
bash -n "$completion" || fail "completion does not parse"
"$cli" --help | { grep -o 'tolvane-cli [a-z][a-z-]*' || true; } | cut -d' ' -f2 |
    LC_ALL=C sort -u >"$work/commands"
[ -s "$work/commands" ] || fail "tolvane-cli --help lists no command"
if [ -f /usr/share/bash-completion/bash_completion ]; then
    # shellcheck disable=SC2016
    bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" &&
             COMP_WORDS=(tolvane-cli "") COMP_CWORD=1 && { _tolvane_cli 2>/dev/null; } ;
             printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" |
        { grep -v '^-' || true; } | LC_ALL=C sort -u >"$work/completed"
    diff -u "$work/commands" "$work/completed" || fail "completion's commands differ from the usage"
else
    echo "bash-completion is not installed: completion not tried"
fi
zcat "$root/usr/share/man/man1/tolvane-cli.1.gz" | sed -n 's/\\-/-/g; s/^\.SS \([a-z][a-z-]*\).*/\1/p' |
    LC_ALL=C sort -u >"$work/described"
diff -u "$work/commands" "$work/described" || fail "man page's commands differ from the usage"

step "lintian"
lintian --fail-on error "$deb" || fail "lintian found errors"

# In a private home, so no setting of the machine's user is read or written.
step "programs from the unpacked package"
export HOME=$work/home TOLVANE_CONFIG_DIR=$work/home/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 0700 "$XDG_RUNTIME_DIR"
"$cli" --version | grep -qx "tolvane-cli $version" || fail "tolvane-cli --version"
"$cli" demo "$work/demo.mem" || fail "tolvane-cli demo"
"$cli" check "$work/demo.mem" || fail "tolvane-cli check of the demo image"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/tolvane" --version | grep -qx "tolvane $version" ||
    fail "tolvane --version"

# Installing for real touches the machine: only as root, and only where no tolvane is installed
# that this would replace and then remove.
step "dpkg -i and dpkg -r"
if [ "$(id -u)" -ne 0 ]; then
    echo "not root: skipped"
elif dpkg-query -W -f='${Status}' tolvane 2>/dev/null | grep -q 'installed'; then
    echo "a tolvane package is installed on this machine: skipped"
else
    # The paths the package would add, and the MIME database's entry that its trigger makes.
    generated=/usr/share/mime/${mime_type}.xml
    awk '{ sub(/^\./, "", $6); print $6 }' "$work/listing" |
        while read -r path; do
            [ -e "$path" ] || echo "$path"
        done >"$work/new-paths"
    trap 'dpkg -r tolvane >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
    if dpkg -i "$deb"; then
        /usr/bin/tolvane-cli --version >/dev/null || fail "installed tolvane-cli --version"
        # What a file manager asks: which type a *.mem file is, and what opens it.
        if command -v update-mime-database >/dev/null; then
            [ -f "$generated" ] || fail "the MIME database did not take $mime_type"
        fi
        if command -v update-desktop-database >/dev/null; then
            grep -q "^$mime_type=.*tolvane.desktop" /usr/share/applications/mimeinfo.cache ||
                fail "the desktop database does not open $mime_type with tolvane.desktop"
        fi
    else
        fail "dpkg -i"
    fi
    dpkg -r tolvane || fail "dpkg -r"
    trap 'rm -rf "$work"' EXIT
    while read -r path; do
        [ ! -e "$path" ] || fail "$path is left after dpkg -r"
    done <"$work/new-paths"
    [ ! -e "$generated" ] || fail "$generated is left after dpkg -r"
fi

if [ ${#failed[@]} -gt 0 ]; then
    echo "check-package: ${#failed[@]} check(s) failed:" >&2
    printf '  %s\n' "${failed[@]}" >&2
    exit 1
fi
echo "check-package: $(basename "$deb") passed"
