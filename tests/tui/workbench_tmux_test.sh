#!/usr/bin/env bash
# Drives the real `tezlo` workbench in a detached tmux session of a fixed size and checks what
# the terminal shows (capture-pane) and what lands on disk. Every wait polls with a deadline, so
# a slow machine only makes the test slower, never wrong.
#
#   workbench_tmux_test.sh TEZLO CASE
#
# CASE: insert_save, message_escape, undo, chinese, lock.
set -euo pipefail

tezlo=$1
case_name=$2
work=$(mktemp -d)
socket="tezlo-test-$$-$case_name"
first_socket=$socket
tmux_() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() {
  tmux_ kill-server >/dev/null 2>&1 || true
  for s in "$first_socket" "$first_socket-second" "$first_socket-third"; do
    tmux -L "$s" kill-server >/dev/null 2>&1 || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($case_name): $*" >&2
  echo "---- screen ----" >&2
  tmux_ capture-pane -p -t tz >&2 || true
  echo "---- stderr ----" >&2
  cat "$work/stderr" >&2 || true
  exit 1
}

screen() { tmux_ capture-pane -p -t tz; }

# Waits until the screen holds the text (fixed string), at most `deadline` seconds.
wait_for() {
  local text=$1 deadline=${2:-20}
  local end=$((SECONDS + deadline))
  while ((SECONDS < end)); do
    if screen | grep -qF -- "$text"; then return 0; fi
    sleep 0.1
  done
  fail "timed out waiting for: $text"
}

wait_gone() {
  local text=$1 deadline=${2:-20}
  local end=$((SECONDS + deadline))
  while ((SECONDS < end)); do
    if ! screen | grep -qF -- "$text"; then return 0; fi
    sleep 0.1
  done
  fail "timed out waiting for this to go away: $text"
}

# The status line's address (the active cell).
wait_active() {
  local end=$((SECONDS + 10))
  while ((SECONDS < end)); do
    if screen | head -1 | grep -qE "^$1( |\$)"; then return 0; fi
    sleep 0.1
  done
  fail "timed out waiting for the active cell $1"
}

start() {
  tmux_ new-session -d -s tz -x 120 -y 36 \
    "cd '$work' && env TERM=xterm-256color LANG=C.UTF-8 '$tezlo' $* 2>'$work/stderr'; echo \"exit \$?\" > '$work/exit'; sleep 600"
  wait_for " +1 | +2 |"
}

# From A1 of the sample: to A53, the first data row of the contact block.
to_contact_row() {
  tmux_ send-keys -t tz C-Home
  wait_active A1
  tmux_ send-keys -t tz C-Down
  wait_active A6
  tmux_ send-keys -t tz C-Down
  wait_active A51
  tmux_ send-keys -t tz Down Down
  wait_active A53
}

run_code() {
  tmux_ send-keys -t tz M-z
  wait_for "┌────────────┐"
  tmux_ send-keys -t tz -l -- "$1"
  wait_for "│$1"
  tmux_ send-keys -t tz Enter
}

# The grid lines of the screen (status line and tabs left out).
grid() { screen | sed -n '2,35p'; }

quit_without_saving() {
  tmux_ send-keys -t tz C-q
  wait_for "before quitting?"
  tmux_ send-keys -t tz Right Enter
  local end=$((SECONDS + 20))
  while ((SECONDS < end)) && [[ ! -s $work/exit ]]; do sleep 0.1; done
  [[ -s $work/exit ]] || fail "the workbench did not quit"
  grep -q "exit 0" "$work/exit" || fail "exit status: $(cat "$work/exit")"
}

case $case_name in
  insert_save)
    start
    to_contact_row
    wait_for " 53         张伟"
    run_code "+3"
    wait_gone "┌────────────┐"
    wait_for " 56         张伟"
    screen | grep -qE '^ 53 *$' || fail "row 53 is not empty after +3"
    screen | grep -qF " 52         姓名" || fail "the row above moved"
    # Ctrl+S on the sample asks where to save; the save is atomic through the file layer.
    tmux_ send-keys -t tz C-s
    wait_for "Save the workbook as:"
    tmux_ send-keys -t tz -l "$work/saved.xlsx"
    tmux_ send-keys -t tz Enter
    wait_for "Saved $work/saved.xlsx"
    [[ -s $work/saved.xlsx ]] || fail "no file written"
    ls "$work" | grep -v -e '^saved.xlsx$' -e '^stderr$' -e '^exit$' && fail "a temporary file was left behind"
    tmux_ send-keys -t tz C-q
    end=$((SECONDS + 20))
    while ((SECONDS < end)) && [[ ! -s $work/exit ]]; do sleep 0.1; done
    grep -q "exit 0" "$work/exit" || fail "did not quit at once after saving"
    # The saved file opens in the workbench with the three new rows in place.
    rm -f "$work/exit"
    socket="$socket-reopened"
    start "'$work/saved.xlsx'"
    to_contact_row
    wait_for " 56         张伟"
    screen | grep -qE '^ 53 *$' || fail "row 53 is not empty in the saved file"
    ;;
  message_escape)
    start
    to_contact_row
    run_code "-3"
    wait_for "要删除的区域有非空单元格"
    wait_for "提示"
    wait_for "[ OK ]  [ Cancel ]"
    tmux_ send-keys -t tz Escape
    wait_gone "要删除的区域有非空单元格"
    wait_for " 53         张伟"
    wait_for " 55         王芳"
    tmux_ send-keys -t tz C-q
    end=$((SECONDS + 20))
    while ((SECONDS < end)) && [[ ! -s $work/exit ]]; do sleep 0.1; done
    grep -q "exit 0" "$work/exit" || fail "Cancel left something unsaved or the program did not quit"
    ;;
  undo)
    start
    to_contact_row
    before=$(grid)
    run_code "+3"
    wait_for " 56         张伟"
    tmux_ send-keys -t tz C-z
    wait_for "Undone: +3"
    wait_for " 53         张伟"
    [[ "$(grid)" == "$before" ]] || fail "the grid after Ctrl+Z differs from the one before +3"
    tmux_ send-keys -t tz C-y
    wait_for "Redone: +3"
    wait_for " 56         张伟"
    quit_without_saving
    ;;
  chinese)
    start
    to_contact_row
    # Columns C and D start at the same screen column in every row, whatever Chinese text
    # stands before them (wc -L measures display width, two for a wide character).
    snapshot=$(screen)
    row() { grep -E "^ $1 " <<<"$snapshot"; }
    at() {
      local line=$1 text=$2
      [[ $line == *"$text"* ]] || fail "no '$text' in: $line"
      printf '%s' "${line%%"$text"*}" | LC_ALL=C.UTF-8 wc -L
    }
    c52=$(at "$(row 52)" "Name"); c53=$(at "$(row 53)" "Zhang Wei"); c54=$(at "$(row 54)" "Li Na")
    d52=$(at "$(row 52)" "电话"); d53=$(at "$(row 53)" "1380013")
    [[ $c52 == "$c53" && $c53 == "$c54" ]] || fail "column C starts at $c52, $c53, $c54"
    [[ $d52 == "$d53" ]] || fail "column D starts at $d52, $d53"
    [[ $c52 -lt $d52 ]] || fail "column C does not come before D"
    tmux_ send-keys -t tz C-q
    end=$((SECONDS + 20))
    while ((SECONDS < end)) && [[ ! -s $work/exit ]]; do sleep 0.1; done
    grep -q "exit 0" "$work/exit" || fail "did not quit"
    ;;
  lock)
    # A second workbench on a workbook the first one holds: it offers to open it read-only, and
    # then saves only under another name.
    "$tezlo" run --sample --out "$work/book.xlsx" >/dev/null || fail "cannot make the workbook"
    start "'$work/book.xlsx'"
    [[ -s "$work/.~lock.book.xlsx#" ]] || fail "the first workbench holds no lock"
    first=$socket
    socket="$first-second"
    tmux_ new-session -d -s tz -x 120 -y 36 \
      "cd '$work' && env TERM=xterm-256color LANG=C.UTF-8 '$tezlo' '$work/book.xlsx'; echo \"exit \$?\" > '$work/exit2'; sleep 600"
    wait_for "is open in another program, by $(id -un)"
    wait_for "Open it read-only? [y/N]"
    tmux_ send-keys -t tz y Enter
    wait_for "Read-only: "
    tmux_ send-keys -t tz C-s
    wait_for "It was opened read-only; save it as:"
    tmux_ send-keys -t tz -l "$work/copy.xlsx"
    tmux_ send-keys -t tz Enter
    wait_for "Saved $work/copy.xlsx"
    tmux_ send-keys -t tz C-q
    end=$((SECONDS + 20))
    while ((SECONDS < end)) && [[ ! -s $work/exit2 ]]; do sleep 0.1; done
    grep -q "exit 0" "$work/exit2" || fail "the second workbench did not quit"
    [[ -s "$work/.~lock.book.xlsx#" ]] || fail "the second workbench removed the first one's lock"
    tmux_ kill-server >/dev/null 2>&1 || true
    # Answering no opens nothing.
    socket="$first-third"
    tmux_ new-session -d -s tz -x 120 -y 36 \
      "cd '$work' && env TERM=xterm-256color LANG=C.UTF-8 '$tezlo' '$work/book.xlsx'; echo \"exit \$?\" > '$work/exit3'; sleep 600"
    wait_for "Open it read-only? [y/N]"
    tmux_ send-keys -t tz Enter
    end=$((SECONDS + 20))
    while ((SECONDS < end)) && [[ ! -s $work/exit3 ]]; do sleep 0.1; done
    grep -q "exit 1" "$work/exit3" || fail "declining did not end the program with status 1"
    tmux_ kill-server >/dev/null 2>&1 || true
    socket=$first
    tmux_ send-keys -t tz C-q
    end=$((SECONDS + 20))
    while ((SECONDS < end)) && [[ ! -s $work/exit ]]; do sleep 0.1; done
    grep -q "exit 0" "$work/exit" || fail "the first workbench did not quit"
    [[ ! -e "$work/.~lock.book.xlsx#" ]] || fail "the lock stayed after the workbench quit"
    ;;
  *)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
echo "PASS ($case_name)"
