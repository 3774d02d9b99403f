#!/bin/sh
# Launcher on the PATH for Brimvale Edit. The program looks for its language, setting and
# sample files in its own folder, so it lives with them in <prefix>/lib/brimvale-edit and
# this script starts it there. The path is found from the script's own place, so an
# installed tree can be moved as a whole.
set -e
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/brimvale-edit/brimvale-edit" "$@"
