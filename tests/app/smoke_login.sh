#!/usr/bin/env bash
# Smoke test of the real program on a real X server. First, with basic.DB missing, the
# program shows one error message and, once it is confirmed, ends with exit status 0. Then on
# a fresh data folder: press Enter on the entry screen, log in as admin/admin, see the main
# window, leave it with Esc, end the program with "退出本系統" and expect exit status 0.
# Usage: smoke_login.sh SALARY SALARY_ADMIN [SHOTS_DIR]   (SHOTS_DIR: keep screenshots there)
# Exits 77 (skipped) when xvfb-run or xdotool is missing.
set -euo pipefail
salary=$1
admin=$2
shots=${3:-}
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool not installed: skipped"; exit 77; }
done
if [ -z "${SMOKE_INSIDE_X:-}" ]; then
  export SMOKE_INSIDE_X=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
export XDG_DATA_HOME=$data
tables=$("$admin" init | sed -n 's/^已在 \(.*\) 建立資料表.*/\1/p')

# Screenshots (by hand only): the short pause lets the window repaint first.
shot() { [ -z "$shots" ] || { sleep 0.5; import -window root "$shots/$1.png"; }; }
# Waits (bounded) until a visible window of that exact title exists and gives it the focus.
focus() {
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1)
  xdotool windowfocus --sync "$id"
}
# Waits (bounded) until the program ends; its exit status in $status.
ended() {
  timeout 20 tail --pid="$pid" -f /dev/null || { echo "program did not end"; kill "$pid"; exit 1; }
  status=0
  wait "$pid" || status=$?
}

# A table file missing at start-up: one message, then the program ends with status 0.
mv "$tables/basic.DB" "$data/basic.DB.aside"
"$salary" &
pid=$!
focus 'Ravek-人事薪資管理系統'
shot missing
xdotool key Return
ended
[ "$status" = 0 ] || { echo "missing table: program ended with status $status"; exit 1; }
echo "missing table reported, program ended with status 0"
mv "$data/basic.DB.aside" "$tables/basic.DB"

"$salary" &
pid=$!
focus 'Ravek-人事薪資管理系統'
shot entry
xdotool key Return

focus '人事薪資管理系統-代碼密碼輸入'
xdotool type admin
xdotool key Tab
xdotool type admin
shot login
xdotool key Return

focus 'Ravek-人事薪資管理系統-主選單'
echo "main window shown after login"
shot page1
# Through the five pages and back to the first: each change puts the button row in browse
# state, so that Esc then presses "回登錄畫面".
for page in 2 3 4 5 1; do
  xdotool key ctrl+Tab
  [ "$page" = 1 ] || shot "page$page"
done
xdotool key Escape
timeout 20 bash -c 'while xdotool search --onlyvisible --name "主選單\$" >/dev/null; do :; done'
echo "back on the entry screen"

# "退出本系統" (after "進入系統" in the tab order) ends the program.
focus 'Ravek-人事薪資管理系統'
xdotool key Tab Return
ended
echo "program ended with status $status"
exit "$status"
