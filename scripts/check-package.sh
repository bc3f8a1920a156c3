#!/usr/bin/env bash
# Checks a salary Debian package without installing it system-wide: its files and control
# fields, lintian, the menu entry and AppStream metadata, and the unpacked salary-admin and
# launcher on a scratch folder.
#   scripts/check-package.sh build/package/salary_VERSION_amd64.deb
set -euo pipefail
deb=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

# Files: everything under /usr, and what the program needs there.
dpkg-deb -c "$deb" | awk '{print $6}' > "$scratch/files"
if grep -v '^\./usr/' "$scratch/files" | grep -v '^\./$' >/dev/null; then
  fail "files outside /usr: $(grep -v '^\./usr/' "$scratch/files" | grep -v '^\./$' | tr '\n' ' ')"
fi
for f in usr/bin/salary usr/bin/salary-admin usr/lib/salary/salary \
         usr/share/applications/com.ravek.salary.desktop \
         usr/share/metainfo/com.ravek.salary.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/com.ravek.salary.svg \
         usr/share/icons/hicolor/48x48/apps/com.ravek.salary.png \
         usr/share/icons/hicolor/256x256/apps/com.ravek.salary.png \
         usr/share/man/man1/salary.1.gz usr/share/man/man1/salary-admin.1.gz \
         usr/share/doc/salary/copyright usr/share/doc/salary/changelog.gz; do
  grep -qx "\./$f" "$scratch/files" || fail "missing /$f"
done

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = salary ] || fail "Package is $(field Package)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
for dep in libqt6widgets6 libqt6printsupport6 libsqlite3-0 libicu qt6-qpa-plugins \
           fonts-arphic-ukai fonts-arphic-uming fonts-liberation2; do
  field Depends | grep -q "$dep" || fail "Depends lacks $dep: $(field Depends)"
done
field Recommends | grep -q qt6-translations-l10n || fail "Recommends lacks qt6-translations-l10n"

# Debian's own checks: no error (the warnings kept are explained in the README).
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb"

# The unpacked files.
dpkg -x "$deb" "$scratch/root"
root=$scratch/root
desktop-file-validate "$root/usr/share/applications/com.ravek.salary.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/com.ravek.salary.metainfo.xml"
version=$(field Version)
[ "$("$root/usr/bin/salary-admin" --version)" = "salary-admin $version" ] || fail "salary-admin --version"
[ "$("$root/usr/bin/salary" --version)" = "salary $version" ] || fail "salary --version"

# salary-admin from the package on a scratch folder: the tables, an import, the bank file, a check.
data=$scratch/data
admin=$root/usr/bin/salary-admin
"$admin" init --data "$data" >/dev/null
printf 'NUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO\n000001,12345678901234,王小明,A123456789,880101,,\n' > "$scratch/e.csv"
printf 'NUMBER,SENDDATE,PAY,SALARYITEM\n000001,880305,35000,薪水轉帳\n' > "$scratch/s.csv"
"$admin" import --data "$data" --employees "$scratch/e.csv" --entries "$scratch/s.csv" >/dev/null
"$admin" transfer --data "$data" --date 8803 --out "$scratch/BT123420" | grep -q "1 筆" \
  || fail "transfer"
[ "$(wc -c < "$scratch/BT123420")" -eq $((23 + 76)) ] || fail "transfer file of $(wc -c < "$scratch/BT123420") bytes"
"$admin" check --data "$data" >/dev/null || fail "check"

# The launcher on a new account: it makes the tables, then the program runs (until stopped).
home=$scratch/home
status=0
XDG_DATA_HOME=$home QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/salary" || status=$?
[ "$status" = 124 ] || fail "the program from the launcher ended with status $status"
[ -e "$home/salary/$(cat "$(dirname "$0")/../build/alias")/pass.DB" ] || fail "the launcher made no tables"
echo "package check: $(basename "$deb") passed"
