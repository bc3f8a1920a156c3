#!/usr/bin/env bash
# Fault probes of salary-admin import: a process killed, one failed write or sync, a full disk.
#
# An import of 150 employees and 300 pay entries into a folder that already holds some is run
# again and again with one fault at the n-th call of a system call, for every n over the whole
# import (strace's fault injection). After each try the folder is opened once more, as the next
# start of the program would open it (its files dated earlier, so that what the cut run left
# counts as stale), and then:
#   - each table must hold exactly its rows before the import or exactly its rows after a clean
#     import, never a part (and the pay entries never new while the employees are old);
#   - the exit status must say failure exactly when a table is left old (a killed run says
#     nothing, so only the first rule applies to it);
#   - no super-journal or unfinished copy may remain after that start (counted as leftovers;
#     those the cut runs left are counted too, and the next starts that failed).
# Each probe prints: PROBE <name> tries=... ok=... problems=... leftovers=... (...)
#
# Run by hand, not by CI. Needs strace and the sqlite3 command-line shell (Debian packages
# strace, sqlite3). The full-disk probe mounts small tmpfs folders and runs only as root where
# mounting is allowed; it is skipped otherwise.
#
#   bench/fault_probes.sh [--tool build/tools/salary-admin] [--step N] [--probes "kill eio full"]
#
# --step N tries every N-th call only (quicker, coarser). Problem tries and leftovers are listed
# in the work folder's problems.txt and leftovers.txt, which are kept when there are any.
set -uo pipefail

tool=build/tools/salary-admin
step=1
probes="kill eio full"
while [ $# -gt 0 ]; do
  case "$1" in
    --tool) tool=$2; shift 2 ;;
    --step) step=$2; shift 2 ;;
    --probes) probes=$2; shift 2 ;;
    *) echo "usage: $0 [--tool PATH] [--step N] [--probes \"kill eio full\"]" >&2; exit 2 ;;
  esac
done
for need in strace sqlite3; do
  command -v "$need" >/dev/null || { echo "$need is needed (apt-get install $need)" >&2; exit 2; }
done
tool=$(realpath "$tool")
[ -x "$tool" ] || { echo "no salary-admin at $tool (build it first)" >&2; exit 2; }

work=$(mktemp -d /tmp/fault-probes.XXXXXX)
mnt=$work/mnt
finish() {
  mountpoint -q "$mnt" 2>/dev/null && umount "$mnt"
  if [ -s "$work/problems.txt" ] || [ -s "$work/leftovers.txt" ]; then
    echo "problem tries and leftovers: $work/problems.txt $work/leftovers.txt" >&2
  else
    rm -rf "$work"
  fi
}
trap finish EXIT

# ---- the rows -------------------------------------------------------------------------------
employees() {  # first last
  echo "NUMBER,ACCOUNT,NAME,ID,INDATE,LEVEL,MEMO"
  for ((i = $1; i <= $2; i++)); do
    printf '%06d,%014d,員工%d,A%09d,880101,L%d,m%d\n' "$i" "$i" "$i" "$i" $((i % 7)) "$i"
  done
}
entries() {  # first last
  echo "NUMBER,SENDDATE,PAY,SALARYITEM"
  for ((i = $1; i <= $2; i++)); do
    printf '%06d,880305,%d,薪水轉帳\n%06d,880405,%d.5,電費\n' "$i" $((30000 + i)) "$i" "$i"
  done
}
employees 1 50 >"$work/base_e.csv"
entries 1 50 >"$work/base_s.csv"
employees 51 200 >"$work/e.csv"
entries 51 200 >"$work/s.csv"

template=$work/template
mkdir -p "$template" "$work/out"
"$tool" init --data "$template" >/dev/null &&
  "$tool" import --data "$template" --employees "$work/base_e.csv" --entries "$work/base_s.csv" \
    >/dev/null || { echo "could not prepare the folder" >&2; exit 1; }

import_into() {  # folder [strace options...]: runs the import, returns its exit status
  local dir=$1
  shift
  if [ $# -gt 0 ]; then
    { strace -f -qq -o /dev/null "$@" -- "$tool" import --data "$dir" \
      --employees "$work/e.csv" --entries "$work/s.csv" >/dev/null 2>"$work/err"; } 2>/dev/null
  else
    "$tool" import --data "$dir" --employees "$work/e.csv" --entries "$work/s.csv" \
      >/dev/null 2>"$work/err"
  fi
}
digest() {  # table file
  sqlite3 "$1" 'SELECT * FROM data' 2>/dev/null | sort | md5sum | cut -c1-32
}

fresh=$work/fresh
cp -a "$template" "$fresh"
old_basic=$(digest "$fresh/basic.DB")
old_salary=$(digest "$fresh/salary.DB")
import_into "$fresh" || { echo "a clean import fails: $(cat "$work/err")" >&2; exit 1; }
new_basic=$(digest "$fresh/basic.DB")
new_salary=$(digest "$fresh/salary.DB")
rm -rf "$fresh"

# How many calls of a system call a clean import makes.
calls() {
  cp -a "$template" "$fresh"
  strace -f -qq -o "$work/calls" -e trace="$1" -- "$tool" import --data "$fresh" \
    --employees "$work/e.csv" --entries "$work/s.csv" >/dev/null 2>&1
  grep -c "$1(" "$work/calls"
  rm -rf "$fresh" "$work/calls"
}

state() {  # digest old new
  if [ "$1" = "$2" ]; then echo old; elif [ "$1" = "$3" ]; then echo new; else echo part; fi
}

tries=0 ok=0 problems=0 leftovers=0 left_by_cut=0 next_failed=0 ended_old=0 ended_new=0
leftovers_in() {
  find "$1" -name '.session.db-mj*' -o -name '*.copy-[0-9]*' -o -name '*.new-[0-9]*'
}
# Judges the folder after a try whose import ended with `status`; killed: 1 when it was killed.
judge() {  # dir status killed label
  local dir=$1 status=$2 killed=$3 label=$4
  local left
  left=$(leftovers_in "$dir")
  [ -n "$left" ] && left_by_cut=$((left_by_cut + $(echo "$left" | wc -l)))
  # The next start, on files that an earlier run left.
  find "$dir" -exec touch -h -d '1 hour ago' {} +
  "$tool" transfer --data "$dir" --date "" --out "$work/out/BT000020" >/dev/null 2>&1 ||
    next_failed=$((next_failed + 1))
  left=$(leftovers_in "$dir")
  if [ -n "$left" ]; then
    leftovers=$((leftovers + $(echo "$left" | wc -l)))
    echo "$label: left $(basename -a $left | tr '\n' ' ')" >>"$work/leftovers.txt"
  fi
  local b s verdict=ok
  b=$(state "$(digest "$dir/basic.DB")" "$old_basic" "$new_basic")
  s=$(state "$(digest "$dir/salary.DB")" "$old_salary" "$new_salary")
  if [ "$b" = part ] || [ "$s" = part ] || { [ "$b" = old ] && [ "$s" = new ]; }; then
    verdict="tables basic=$b salary=$s"
  fi
  if [ "$verdict" = ok ] && [ "$killed" = 0 ]; then
    local all_new=0
    [ "$b" = new ] && [ "$s" = new ] && all_new=1
    if [ "$status" = 0 ] && [ $all_new = 0 ]; then verdict="exit 0 but basic=$b salary=$s"; fi
    if [ "$status" != 0 ] && [ $all_new = 1 ]; then verdict="exit $status but all stored"; fi
  fi
  tries=$((tries + 1))
  [ "$b$s" = oldold ] && ended_old=$((ended_old + 1))
  [ "$b$s" = newnew ] && ended_new=$((ended_new + 1))
  if [ "$verdict" = ok ]; then
    ok=$((ok + 1))
  else
    problems=$((problems + 1))
    echo "$label: $verdict: $(head -c 300 "$work/err" | tr '\n' ' ')" >>"$work/problems.txt"
  fi
}

report() {  # name
  echo "PROBE $1 tries=$tries ok=$ok problems=$problems leftovers=$leftovers" \
    "(tables all old $ended_old, all new $ended_new; left by the cut runs $left_by_cut;" \
    "next start failed $next_failed)"
  tries=0 ok=0 problems=0 leftovers=0 left_by_cut=0 next_failed=0 ended_old=0 ended_new=0
}

try_dir=$work/try
# One fault (`action`, e.g. signal=KILL or error=EIO) at every step-th call of `sys`.
inject_probe() {  # name sys action
  local name=$1 sys=$2 action=$3 total n status killed
  total=$(calls "$sys")
  [ "$total" -gt 0 ] || { echo "PROBE $name skipped: the import makes no $sys call"; return; }
  for ((n = 1; n <= total; n += step)); do
    rm -rf "$try_dir"
    cp -a "$template" "$try_dir"
    import_into "$try_dir" -e trace="$sys" -e inject="$sys:$action:when=$n"
    status=$?
    killed=0
    [ "$status" = 137 ] && killed=1
    judge "$try_dir" "$status" "$killed" "$name n=$n/$total"
  done
  report "$name"
}

full_probe() {
  if [ "$(id -u)" != 0 ]; then
    echo "PROBE full skipped: needs root to mount a small file system"
    return
  fi
  mkdir -p "$mnt"
  if ! mount -t tmpfs -o size=64k tmpfs "$mnt" 2>/dev/null; then
    echo "PROBE full skipped: mounting a tmpfs is not allowed here"
    return
  fi
  umount "$mnt"
  local base grow kb status
  base=$(du -sk --apparent-size "$template" | cut -f1)
  cp -a "$template" "$fresh"
  import_into "$fresh"
  grow=$(($(du -sk --apparent-size "$fresh" | cut -f1) - base))
  rm -rf "$fresh"
  # From no room at all for the import to twice the room it takes, in steps of one page.
  for ((kb = base + 4; kb <= base + 2 * grow + 64; kb += 4 * step)); do
    mount -t tmpfs -o size=${kb}k tmpfs "$mnt" || break
    if cp -a "$template" "$mnt/d" 2>/dev/null; then
      import_into "$mnt/d"
      status=$?
      judge "$mnt/d" "$status" 0 "full size=${kb}k"
    fi
    umount "$mnt"
  done
  report full
}

echo "fault probes of $tool on $(uname -srm), $(nproc) cores"
for probe in $probes; do
  case "$probe" in
    kill)
      inject_probe kill:pwrite64 pwrite64 signal=KILL
      inject_probe kill:fdatasync fdatasync signal=KILL
      inject_probe kill:unlink unlink signal=KILL
      ;;
    eio)
      inject_probe eio:pwrite64 pwrite64 error=EIO
      inject_probe eio:write write error=EIO
      inject_probe eio:fdatasync fdatasync error=EIO
      inject_probe eio:fsync fsync error=EIO
      ;;
    full) full_probe ;;
    *) echo "unknown probe $probe" >&2 ;;
  esac
done
