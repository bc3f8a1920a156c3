#!/usr/bin/env bash
# Sets up (packages, build), creates the tables of the alias folder on first use, and starts
# the program on them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
folder="${XDG_DATA_HOME:-$HOME/.local/share}/salary/$(cat build/alias)"
if [ ! -e "$folder/pass.DB" ]; then
  build/tools/salary-admin init --data "$folder"
fi
echo "The table files are in $folder"
echo "Log in with user code admin and password admin (change them on the password page)."
exec build/app/salary
