#!/bin/sh
# Starts the panel from its own folder, where the device library lies beside
# it: <prefix>/lib/dalvenix-test holds both, <prefix>/bin holds this launcher.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/dalvenix-test/dalvenix-test" "$@"
