#!/usr/bin/env bash
# Builds the Debian package salary_<version>_amd64.deb with CPack from the tested build (build/,
# set up and built by scripts/setup.sh: the same sources and flags), into build/package/, and
# prints its path. With --check it then checks the package without installing it
# (scripts/check-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
rm -rf build/package
(cd build && cpack -G DEB -B "$PWD/package" >/dev/null)
deb=$(ls build/package/salary_*_amd64.deb)
echo "$deb"
if [ "${1:-}" = --check ]; then
  scripts/check-package.sh "$deb"
fi
