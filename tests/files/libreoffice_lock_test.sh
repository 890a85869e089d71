#!/usr/bin/env bash
# A workbook open in a real LibreOffice (headless, with a private profile) is not touched by a
# batch run; once that LibreOffice is killed, its lock is stale and the next run takes it over.
#
#   libreoffice_lock_test.sh TEZLO
set -euo pipefail

tezlo=$1
work=$(mktemp -d)
office_group=""
cleanup() {
  # Only the LibreOffice this test started: its own process group.
  if [[ -n $office_group ]]; then kill -9 -- "-$office_group" >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  cat "$work/office.log" "$work/hold.log" >&2 2>/dev/null || true
  exit 1
}

if ! command -v soffice >/dev/null || ! /usr/bin/python3 -c 'import uno' 2>/dev/null; then
  echo "LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed" >&2
  exit 1
fi

"$tezlo" run --sample --out "$work/book.xlsx" >/dev/null || fail "cannot make the workbook"
lock="$work/.~lock.book.xlsx#"
pipe="tezlo-lock-test-$$"

# setsid gives LibreOffice and the helper a process group of their own, to be killed as one.
setsid bash -c "soffice --headless --invisible --norestore --nologo --nodefault \
  -env:UserInstallation=file://$work/profile --accept='pipe,name=$pipe;urp;' >'$work/office.log' 2>&1 &
  exec /usr/bin/python3 '$(dirname "$0")/hold_in_libreoffice.py' '$pipe' '$work/book.xlsx' >'$work/hold.log' 2>&1" &
helper=$!
office_group=$helper
end=$((SECONDS + 150))
until grep -q open "$work/hold.log" 2>/dev/null; do
  ((SECONDS < end)) || fail "LibreOffice did not open the workbook"
  kill -0 "$helper" 2>/dev/null || fail "the helper ended"
  sleep 0.5
done
[[ -s $lock ]] || fail "LibreOffice wrote no lock file"
grep -q "file://$work/profile" "$lock" || fail "the lock does not name the profile: $(cat "$lock")"

before=$(sha256sum <"$work/book.xlsx")
set +e
out=$("$tezlo" run "$work/book.xlsx" -- 101 2>&1)
status=$?
set -e
[[ $status -eq 1 ]] || fail "a run on the open workbook exited $status: $out"
[[ $out == *"is open in another program, by $(id -un) on $(hostname)"* ]] || fail "message: $out"
[[ $(sha256sum <"$work/book.xlsx") == "$before" ]] || fail "the workbook changed"
grep -q "file://$work/profile" "$lock" || fail "the run changed LibreOffice's lock"

# LibreOffice dies without removing its lock: no running process uses that profile any more.
kill -9 -- "-$office_group"
end=$((SECONDS + 30))
while pgrep -f "UserInstallation=file://$work/profile" >/dev/null; do
  ((SECONDS < end)) || fail "LibreOffice did not end"
  sleep 0.2
done
office_group=""
[[ -s $lock ]] || fail "the killed LibreOffice's lock is gone; nothing left to test"
"$tezlo" run "$work/book.xlsx" -- 101 >/dev/null 2>"$work/err" || fail "the stale lock was not taken over: $(cat "$work/err")"
[[ ! -e $lock ]] || fail "the run left a lock behind"
echo "PASS"
