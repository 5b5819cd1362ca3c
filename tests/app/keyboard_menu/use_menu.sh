# The menu by the keyboard alone: Alt or F10, then Enter on the first
# command (the end), then Enter on the question.
#   $1 the program, $2 the data folder, $3 the key (alt or F10)
openbox >/dev/null 2>&1 &
sleep 1
"$1" --data "$2" --soundfont none >game.txt 2>&1 &
g=$!
windows() { xdotool search --onlyvisible --name '^MIREL$' 2>/dev/null | wc -l; }
shown() { [ "$(windows)" -ge "$1" ]; }
ended() { ! kill -0 "$g" 2>/dev/null; }
wait_for() {  # up to 60 s
  for _ in $(seq 120); do "$@" && return 0; sleep 0.5; done
  return 1
}
fail() { echo "keys: $*"; cat game.txt; kill "$g" 2>/dev/null; exit 1; }
wait_for shown 1 || fail "the window did not show"
sleep 2
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^MIREL$' | head -n 1)"
shown 2 && fail "a second window before any key"
xdotool key "$3"
sleep 1
xdotool key Return
wait_for shown 2 || fail "no question after $3 and Enter"
sleep 1
xdotool key Return
wait_for ended || fail "the program still runs after Enter on the question"
wait "$g"
echo "keys: the menu was used by the keyboard, status $?"
