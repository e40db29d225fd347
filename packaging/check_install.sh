#!/usr/bin/env bash
# Installs a build into a temporary prefix, as `cmake --install` does, and
# checks what a desktop finds there: the two programs, the read-only banks,
# the menu entries, the icons, the software centre's description and the
# manual pages. Validators that are not installed are skipped, and said.
#
#   check_install.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/usr"

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  exit 1
fi

failed=0
skipped=()
fail() {
  echo "FAIL: $*"
  failed=1
}

# Width and height of a PNG file, from its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}

icon=org.quizmoor.Quizmoor
expected=(
  bin/brel
  bin/brel_demo
  share/quizmoor/qbk09.mdb
  share/quizmoor/qbk009.mdb
  share/applications/org.quizmoor.Quizmoor.desktop
  share/applications/org.quizmoor.QuizmoorDemo.desktop
  share/metainfo/org.quizmoor.Quizmoor.metainfo.xml
  share/icons/hicolor/scalable/apps/$icon.svg
  share/man/man1/brel.1.gz
  share/man/man1/brel_demo.1.gz
)
for size in 16 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$icon.png")
done
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done

# the programs only: no build tool, test or benchmark
programs="$(cd "$prefix/bin" && ls | tr '\n' ' ')"
[ "$programs" = "brel brel_demo " ] || fail "bin/ holds: $programs"
for size in 16 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  [ -f "$png" ] && [ "$(png_size "$png")" != "${size}x${size}" ] &&
    fail "$png is $(png_size "$png")"
done

# every exhibit a bank names is installed beside it
for bank in qbk09.mdb qbk009.mdb; do
  if command -v sqlite3 >/dev/null; then
    for exam in exam1 exam2 exam3; do
      sqlite3 "$prefix/share/quizmoor/$bank" \
        "SELECT DISTINCT diagram1 FROM [$exam] WHERE diagram1 <> ''" 2>/dev/null || true
    done | while read -r exhibit; do
      [ -f "$prefix/share/quizmoor/$exhibit" ] || echo "$bank names $exhibit, not installed"
    done >"$work/exhibits.txt"
    [ -s "$work/exhibits.txt" ] && fail "$(cat "$work/exhibits.txt")"
  fi
done
[ -n "$(ls "$prefix/share/quizmoor/exhibits")" ] || fail "no exhibits installed"

# what a user copies from must not be writable by others
while read -r mode file; do
  case "$mode" in
    644 | 755) ;;
    *) fail "$file has mode $mode" ;;
  esac
done < <(find "$prefix" -exec stat -c '%a %n' {} +)

if command -v desktop-file-validate >/dev/null; then
  for desktop in "$prefix"/share/applications/*.desktop; do
    desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
  done
else
  skipped+=("desktop-file-validate (package desktop-file-utils)")
fi

if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.quizmoor.Quizmoor.metainfo.xml" ||
    fail "appstreamcli validate"
else
  skipped+=("appstreamcli validate (package appstream)")
fi

if command -v groff >/dev/null; then
  for page in "$prefix"/share/man/man1/*.1.gz; do
    warnings="$(zcat "$page" | groff -man -ww -z -Tutf8 2>&1)"
    [ -z "$warnings" ] || fail "$page: $warnings"
    zcat "$page" | grep -q "^\.SH OPTIONS" || fail "$page has no OPTIONS"
  done
else
  skipped+=("manual page check (package groff-base)")
fi

if [ "$failed" -ne 0 ]; then
  exit 1
fi
if [ ${#skipped[@]} -ne 0 ]; then
  echo "The installed files are in place; not checked, for want of the tool:"
  printf '  %s\n' "${skipped[@]}"
  echo "tools/setup.sh installs them."
  exit 77
fi
echo "installed files: all in place and valid"
