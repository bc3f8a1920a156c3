#!/usr/bin/env bash
# Sets up (packages, build), creates the tables of the alias folder on first use, and starts
# the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
folder="${XDG_DATA_HOME:-$HOME/.local/share}/salary/MIRUDUZERA4"
if [ ! -e "$folder/pass.DB" ]; then
  build/tools/salary-admin init --data "$folder"
fi
echo "The table files are in $folder"
echo "The program's window comes with a later version; the data folder is ready."
