#!/usr/bin/env bash
# Fails when a source file includes from a layer above its own, so that the folders keep telling
# the truth about what depends on what. Layers of the core, bottom up: support (with the
# UserServices seam) <- config <- image <- reports, support <- sites <- comm, and document on top
# of all of them. The window's folders sit on the whole core: widgets at the bottom, one folder
# per kind of dialog above it, the shell on top. The core never includes a Qt header.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
    [core/support]="support"
    [core/config]="support config"
    [core/image]="support config image"
    [core/reports]="support config image reports"
    [core/sites]="support sites"
    [core/comm]="support sites comm"
    [core/document]="support config image reports sites comm document"
    [gui/widgets]="widgets"
    [gui/editors]="widgets editors"
    [gui/reports]="widgets reports"
    [gui/comm]="widgets comm"
    [gui/sites]="widgets sites"
    [gui/shell]="widgets editors reports comm sites shell"
)

failures=0
while IFS= read -r file; do
    tree=${file#src/}
    tree=${tree%%/*}
    folder=${file#src/$tree/}
    [[ $folder == */* ]] || continue
    folder=${folder%%/*}
    layer="$tree/$folder"
    if [[ -z ${allowed[$layer]+set} ]]; then
        echo "$file: folder $layer has no place among the layers" >&2
        failures=$((failures + 1))
        continue
    fi
    while IFS= read -r line; do
        included=${line#*\"}
        included=${included%\"*}
        target=""
        if [[ -f src/$tree/$included ]]; then
            target=${included%%/*}
        elif [[ $tree == gui && -f src/core/$included ]]; then
            continue # the window may use all of the core
        fi
        if [[ -n $target && " ${allowed[$layer]} " != *" $target "* ]]; then
            echo "$file: includes \"$included\" from $tree/$target, above $layer" >&2
            failures=$((failures + 1))
        fi
    done < <(grep -E '^#include "' "$file" || true)
    if [[ $tree == core ]] && grep -qE '^#include <Q' "$file"; then
        echo "$file: the core includes a Qt header" >&2
        failures=$((failures + 1))
    fi
done < <(find src/core src/gui -name '*.h' -o -name '*.cpp' | sort)

if [[ $failures -gt 0 ]]; then
    echo "$failures include(s) point up" >&2
    exit 1
fi
echo "layers: every include points down"
