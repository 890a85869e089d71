#!/usr/bin/env bash
# Workbooks written by a real, headless LibreOffice (with a private profile, started once for the
# whole corpus) are saved in place by Tezlo and kept whole; check_libreoffice_books.py does the work.
#
#   libreoffice_books_test.sh TEZLO
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

if ! command -v soffice >/dev/null || ! /usr/bin/python3 -c 'import uno' 2>/dev/null; then
  echo "FAIL: LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed" >&2
  exit 1
fi

pipe="tezlo-books-test-$$"
# setsid gives LibreOffice a process group of its own, to be killed as one.
setsid bash -c "exec soffice --headless --invisible --norestore --nologo --nodefault \
  -env:UserInstallation=file://$work/profile --accept='pipe,name=$pipe;urp;' >'$work/office.log' 2>&1" &
office_group=$!
disown "$office_group"  # no job notice when it is killed at the end

if ! /usr/bin/python3 "$(dirname "$0")/check_libreoffice_books.py" "$pipe" "$work" "$tezlo"; then
  echo "FAIL" >&2
  cat "$work/office.log" >&2 || true
  exit 1
fi
echo "PASS"
