#!/usr/bin/env bash
# The Debian package of the tezlo program: built from the optimised tree (scripts/package.sh),
# its contents and control fields read, installed with dpkg into a throwaway root, run there
# against the program of the tree under test, its manual page read, and purged.
#   deb_package_test.sh SOURCE_DIR VERSION PROGRAM
# PROGRAM is the tezlo the test tree built; the installed one must do what it does.
set -euo pipefail
source_dir=$1
version=$2
program=$3
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tezlo-deb.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

deb=$("$source_dir/scripts/package.sh" "$scratch/package")
echo "package: $(basename "$deb")"

# What the package holds: the program and its manual page, owned by root, with the usual modes.
dpkg-deb --contents "$deb" >"$scratch/contents"
files=$(awk '$1 !~ /^d/ {print $6}' "$scratch/contents" | sort)
wanted=$'./usr/bin/tezlo\n./usr/share/man/man1/tezlo.1.gz'
[ "$files" = "$wanted" ] || fail "the package holds other files than the program and its page:"$'\n'"$files"
awk '$2 != "root/root" {bad = 1; print} END {exit bad}' "$scratch/contents" || fail "entries not owned by root"
grep -Eq '^-rwxr-xr-x .* \./usr/bin/tezlo$' "$scratch/contents" || fail "the program is not mode 0755"
grep -Eq '^-rw-r--r-- .* \./usr/share/man/man1/tezlo\.1\.gz$' "$scratch/contents" || fail "the page is not mode 0644"
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" {bad = 1; print} END {exit bad}' "$scratch/contents" ||
  fail "folders not mode 0755"

# The control fields.
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tezlo ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), the project is $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
field Maintainer | grep -Eq '^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$' || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Section)" ] || fail "no Section"
[ "$(field Description | wc -l)" -gt 1 ] || fail "the Description has no long part"

# The Depends field names the package of every shared library the packaged program needs, and
# the program is the optimised one, not a sanitizer build.
dpkg-deb --extract "$deb" "$scratch/extracted"
packaged=$scratch/extracted/usr/bin/tezlo
! readelf -S "$packaged" | grep -q '\.symtab' || fail "the packaged program is not stripped"
depends=$(field Depends)
echo "Depends: $depends"
depends_names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
needed=$(readelf -d "$packaged" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
[ -n "$needed" ] || fail "no shared libraries read from the program"
while read -r soname; do
  case $soname in libasan* | libubsan* | libtsan*) fail "the packaged program needs $soname" ;; esac
  # ldd names most libraries "SONAME => PATH", and the dynamic loader (needed by code built
  # position-independent that uses thread-local storage) by its path alone.
  path=$(ldd "$packaged" | awk -v so="$soname" '$1 == so {print $3} $1 ~ "/" so "$" {print $1}')
  [ -n "$path" ] || fail "$soname is not found on this system"
  owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null ||
    dpkg -S "${path#/usr}" 2>/dev/null) || fail "no package owns $path"
  pkg=${owner%%:*}
  grep -qxF "$pkg" <<<"$depends_names" || fail "Depends lacks $pkg, which holds $soname"
done <<<"$needed"

# Installed with dpkg into an empty root of its own.
root=$scratch/root
admin=$root/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates"
: >"$admin/status"
: >"$admin/available"
# The path-include undoes the exclusions of slim system images (manual pages, documentation).
dpkg_root=(dpkg --root="$root" --force-not-root --force-script-chrootless --log=/dev/null --path-include='*')
# The libraries it depends on live on this system, not in the throwaway root.
"${dpkg_root[@]}" --force-depends --install "$deb" >"$scratch/dpkg-install.log" 2>&1 ||
  { cat "$scratch/dpkg-install.log" >&2; fail "dpkg could not install the package"; }
status=$(dpkg-query --admindir="$admin" -W -f='${db:Status-Abbrev}${Version}' tezlo)
[ "$status" = "ii $version" ] || fail "after installing, dpkg says: $status"
while read -r path; do
  [ -f "$root/${path#./}" ] || fail "$path was not installed"
done <<<"$files"

# The installed program answers as the one the tree under test built.
tezlo=$root/usr/bin/tezlo
[ "$("$tezlo" --version)" = "tezlo $version" ] || fail "tezlo --version: $("$tezlo" --version)"
today=2024-03-15
run=(run --sample --today "$today" --select B106:B109 --answer ok --out)
codes=(-- '*21' 103 '*19')
"$tezlo" "${run[@]}" "$scratch/installed.xlsx" "${codes[@]}" >"$scratch/installed.out" ||
  fail "the installed program's batch run ended with status $?"
"$program" "${run[@]}" "$scratch/built.xlsx" "${codes[@]}" >"$scratch/built.out" ||
  fail "the tree's program's batch run ended with status $?"
cmp -s "$scratch/installed.out" "$scratch/built.out" ||
  { diff "$scratch/built.out" "$scratch/installed.out" >&2; fail "the two programs printed different runs"; }
tail -n 1 "$scratch/installed.out" | grep -q $'^state\tsheet=' || fail "no state line closes the run"
sheets=$(/usr/bin/python3 "$here/check_run_books.py" "$scratch/installed.xlsx" "$scratch/built.xlsx" "$today") ||
  fail "the saved workbooks: $sheets"
[ "$(wc -l <<<"$sheets")" -eq 3 ] || fail "the run should have added the topic-word list to +1 and +2: $sheets"

# The installed manual page: formatted without a warning, with the version the build gave it,
# its sections, every option the program's usage texts name and every code of the dispatcher.
page=$root/usr/share/man/man1/tezlo.1.gz
warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || fail "groff warns about the page: $warnings"
MANWIDTH=80 MANPAGER=cat man -l "$page" 2>"$scratch/man.err" | col -bx >"$scratch/man.txt"
[ ! -s "$scratch/man.err" ] || fail "man: $(cat "$scratch/man.err")"
grep -Eq "^Tezlo $version +[0-9]{4}-[0-9]{2}-[0-9]{2} +TEZLO\(1\)$" "$scratch/man.txt" ||
  fail "the page's footer does not carry version $version"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS KEYS 'FUNCTION CODES' 'BATCH RUNNER' FILES \
  'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
  grep -qx "$section" "$scratch/man.txt" || fail "the page has no section $section"
done
for option in $({ "$tezlo" --help && "$tezlo" run --help; } | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
  grep -qF -- "$option" "$scratch/man.txt" || fail "the page does not mention $option"
done
# The codes' entries, read from the page's source: one tagged paragraph (.TP) per row of the
# dispatcher's table, and each exact code as a tag of its own.
codes_section=$(zcat "$page" | sed -n '/^\.SH "\{0,1\}FUNCTION CODES/,/^\.SH "\{0,1\}BATCH RUNNER/p')
dispatch=$source_dir/src/app/all_tools.cpp
exact_codes=$(grep -oE 'Exactly\("\*[0-9]+"\)' "$dispatch" | grep -oE '\*[0-9]+')
[ "$(wc -l <<<"$exact_codes")" -ge 20 ] || fail "too few exact codes read from $dispatch: $exact_codes"
while read -r code; do
  grep -qE "^\.B \\$code( |$)" <<<"$codes_section" || fail "the page has no entry for the code $code"
done <<<"$exact_codes"
rows=$(grep -c 'DispatchRow{' "$dispatch")
entries=$(grep -c '^\.TP' <<<"$codes_section")
[ "$entries" -eq "$rows" ] || fail "the page lists $entries codes, the dispatcher $rows"

# Purged, nothing the package installed is left, not even its folders.
"${dpkg_root[@]}" --purge tezlo >"$scratch/dpkg-purge.log" 2>&1 ||
  { cat "$scratch/dpkg-purge.log" >&2; fail "dpkg could not purge the package"; }
status=$(dpkg-query --admindir="$admin" -W -f='${db:Status-Abbrev}' tezlo 2>/dev/null || true)
case $status in "" | "pn "*) ;; *) fail "after purging, dpkg says: $status" ;; esac
left=$(find "$root" -mindepth 1 ! -path "$root/var" ! -path "$root/var/lib" ! -path "$admin" ! -path "$admin/*")
[ -z "$left" ] || fail "left after purging: $left"
left=$(find "$admin/info" -name 'tezlo.*')
[ -z "$left" ] || fail "dpkg kept: $left"
echo "the package installs, runs and purges cleanly"
