#!/bin/sh
# Launcher on the PATH for the programs of Brimvale Edit (brimvale-edit, and brimvale-cli
# when it is built), installed once under each program's name. The programs look for their
# language, setting and sample files in their own folder, so they live with them in
# <prefix>/lib/brimvale-edit and this script starts the one it is named after there. The
# path is found from the script's own place, so an installed tree can be moved as a whole.
set -e
self=$(readlink -f "$0")
exec "$(dirname "$self")/../lib/brimvale-edit/$(basename "$self")" "$@"
