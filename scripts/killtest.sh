#!/usr/bin/env bash
# Kills the game N times (SIGKILL) at random moments of a headless play of a
# copy of the demo, and checks after each kill that every file the game
# writes is the old one or the new one, and that the next start recovers.
#   scripts/killtest.sh [N]     (20 by default; needs build/ and strace)
# The play saves into two slots, renames the hero (so "90.dat" changes at
# shutdown), keeps a quick save (F5), keeps read marks and stores the
# pictures' headers. strace slows the writing calls down, so that most kills
# land inside one of them.
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-20}
[[ "$n" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [N]" >&2; exit 2; }
game=$PWD/build/src/mirel
demo=$PWD/build/demo-data
[ -x "$game" ] && [ -f "$demo/90.dat" ] || { echo "killtest: build first (build/src/mirel, build/demo-data)" >&2; exit 2; }
command -v strace >/dev/null || { echo "killtest: strace is missing (scripts/packages.sh)" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/dev/shm}/mirel-killtest-XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen MIREL_LOCK_DIR=$work

save() {  # slot (0..4)
  printf 'menu save\ndialog File_Window Picture1(%s)\ndialog File_Window fBtn(3)\n' "$1"
  printf 'dialog File_Window Command1\ndialog File_Window fBtn(0)\n'
}
play() {  # clicks before the quick save, answer, family name, given name, two slots
  printf 'title new\n'
  for ((c = 0; c < $1; c++)); do printf 'click\n'; done
  shift
  printf 'key f5\nchoose %s\ndialog NameEnt Text1 %s　%s\ndialog NameEnt Command1\n' "$1" "$2" "$3"
  save "$4"
  printf 'choose 1\n'
  save "$5"
  printf 'menu end\nyes\n'
}
play 0 1 水野 アキ 0 1 >"$work/a.txt"
play 1 2 山田 ハル 1 2 >"$work/b.txt"
# The next start loads a slot, then the quick save (F9), and ends: any
# damage shows as a message.
printf 'title load\ndialog File_Window Picture1(1)\ndialog File_Window fBtn(2)\nclick\nkey f9\nyes\nmenu end\nyes\n' >"$work/next.txt"

# run STATE SCRIPT: plays the folder STATE/data with its own home.
run() {
  (cd "$1" && HOME=$1/home XDG_DATA_HOME=$1/home/share XDG_CONFIG_HOME=$1/home/config XDG_RUNTIME_DIR=$1 \
    exec "$game" --headless --data data --input "$2" >out.txt 2>&1)
}
# The player settings count as soon as headless runs write them.
written=(data/00.dat data/01.dat data/02.dat data/90.dat home/config/mirel/settings.ini)
marks() { find "$1/home/share/mirel/read" -name '*.read' 2>/dev/null | head -n 1; }
quick() { find "$1/home/share/mirel/quick" -name '*.quick' 2>/dev/null | head -n 1; }

fail() { echo "killtest: kill $i: $*" >&2; exit 1; }
# A file of the data folder or of the player's data half written.
half_written() { compgen -G "$1/data/*.tmp" || compgen -G "$1/home/share/mirel/*/*.tmp"; } >/dev/null

mkdir -p "$work/old"
cp -r "$demo" "$work/old/data"
run "$work/old" "$work/a.txt" || fail "the first play failed"
mid_write=0
for ((i = 1; i <= n; i++)); do
  script=$work/a.txt
  ((i % 2)) && script=$work/b.txt
  rm -rf "$work/new" "$work/killed"
  # Every third play reads the story afresh, so its read marks are written.
  ((i % 3)) || rm -rf "$work/old/home/share/mirel/read"
  cp -r "$work/old" "$work/new"
  start=$(date +%s%N)
  run "$work/new" "$script" || fail "the play to compare with failed: $(cat "$work/new/out.txt")"
  cp -r "$work/old" "$work/killed"
  (cd "$work/killed" && HOME=$work/killed/home XDG_DATA_HOME=$work/killed/home/share \
    XDG_CONFIG_HOME=$work/killed/home/config XDG_RUNTIME_DIR=$work/killed \
    exec strace -f -qq -o /dev/null -e trace=write,fsync,rename,pwrite64 \
      -e inject=write,fsync,rename:delay_enter=100000 -e inject=pwrite64:delay_enter=3000 \
      "$game" --headless --data data --input "$script" >out.txt 2>&1) &
  tracer=$!
  # A moment within the slowed play, which takes about twice as long and
  # spends most of the extra time writing.
  span=$((($(date +%s%N) - start) / 1000000 * 2 + 1500))
  sleep "$(awk -v r="$RANDOM$RANDOM" -v s="$span" 'BEGIN { printf "%.3f", (r % 100000) / 100000 * s / 1000 }')"
  victim=$(ps --ppid "$tracer" -o pid= | head -n 1 || true)
  [ -n "$victim" ] && kill -KILL "$victim" 2>/dev/null || true
  wait "$tracer" 2>/dev/null || true

  # Every file the game writes is the old one or the new one.
  for f in "${written[@]}"; do
    k=$work/killed/$f o=$work/old/$f w=$work/new/$f
    same() { [ -e "$1" ] && [ -e "$2" ] && { [[ "$f" == data/0* ]] && cmp -s <(tail -n +2 "$1") <(tail -n +2 "$2") || cmp -s "$1" "$2"; }; }
    if [ -e "$k" ]; then
      same "$k" "$o" || same "$k" "$w" || fail "$f is neither the old nor the new file"
    else
      [ ! -e "$o" ] || fail "$f is gone"
    fi
  done
  for p in "$demo"/*.dat; do
    f=${p##*/}
    [[ "$f" =~ ^(90|91|92|P98|P99|61)\.dat$ ]] && continue
    head=$(head -c 2 "$work/killed/data/$f" | od -An -tx1 | tr -d ' ')
    [[ "$head" =~ ^(4a46|424d|ffd8)$ ]] || fail "$f has the header $head"
    cmp -s <(tail -c +3 "$work/killed/data/$f") <(tail -c +3 "$p") || fail "$f changed beyond its header"
  done
  # The read marks: a whole file of the old ones and some of the new.
  km=$(marks "$work/killed") om=$(marks "$work/old") nm=$(marks "$work/new")
  if [ -n "$km" ]; then
    [ "$(head -n 1 "$km")" = "MIREL read records 1" ] || fail "the read marks lost their first line"
    expand() { tail -n +2 "$1" | awk -F- '{ last = NF > 1 ? $2 : $1; for (r = $1; r <= last; r++) print r }' | sort; }
    [ -z "$om" ] || [ -z "$(comm -23 <(expand "$om") <(expand "$km"))" ] || fail "read marks were lost"
    [ -z "$(comm -23 <(expand "$km") <(expand "$nm"))" ] || fail "the read marks hold records never read"
  fi
  # The quick save: the old one or the new one, whole.
  kq=$(quick "$work/killed") oq=$(quick "$work/old") nq=$(quick "$work/new")
  [ -n "$oq" ] && [ -n "$nq" ] || fail "a play kept no quick save"
  [ -n "$kq" ] || fail "the quick save is gone"
  cmp -s "$kq" "$oq" || cmp -s "$kq" "$nq" || fail "the quick save is neither the old nor the new one"
  if half_written "$work/killed"; then
    mid_write=$((mid_write + 1))
  fi

  # The next start recovers: no message but the end question, nothing left
  # half written, every picture stored again.
  run "$work/killed" "$work/next.txt" || fail "the next start failed: $(cat "$work/killed/out.txt")"
  if grep '^message: ' "$work/killed/out.txt" | grep -v '終了しますか？' | grep -qv 'クイックセーブした所へ戻りますか？'; then
    fail "the next start said: $(grep '^message: ' "$work/killed/out.txt")"
  fi
  grep -q '^message: クイックセーブした所へ戻りますか？' "$work/killed/out.txt" || fail "the next start found no quick save to load"
  if half_written "$work/killed"; then
    fail "a half-written file stayed after the next start"
  fi
  for p in "$demo"/*.dat; do
    f=${p##*/}
    [[ "$f" =~ ^(90|91|92|P98|P99|61)\.dat$ ]] && continue
    [ "$(head -c 2 "$work/killed/data/$f")" = JF ] || fail "$f was not stored again by the next start"
  done
  # What the next start left is where the following kill starts from.
  rm -rf "$work/old"
  mv "$work/killed" "$work/old"
done
echo "killtest: $n kills ($mid_write inside a write, a half-written file left behind); every file old or new, every next start clean"
