#!/usr/bin/env bash
# Builds the Debian package (cpack -G DEB), unpacks it into an empty root
# with dpkg-deb -x, and starts each installed program from there on a
# virtual display with an empty home folder: each must come up with its main
# window, on a copy of its bank in the user's data folder, leaving the
# installed files untouched. Skipped, and said, when a tool is missing.
#
#   check_package.sh BUILD_DIR [SCREENSHOT_DIR]
set -euo pipefail
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"

# --- run by xvfb-run below: one program, on the virtual display
if [ "${1:-}" = "--inside" ]; then
  program="$2" database="$3" shots="$4"
  "$program" &
  pid=$!
  name="$(basename "$program")"
  copy="$HOME/.local/share/$name/$database"
  for _ in $(seq 200); do
    # the main window, with the class its menu entry names
    if xwininfo -root -tree | grep -q "\"Quizmoor\": (\"$name\" " && [ -f "$copy" ]; then
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  status=0
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: $name ended at start-up"
    status=1
  elif ! xwininfo -root -tree | grep -q "\"Quizmoor\": (\"$name\" "; then
    echo "FAIL: $name shows no main window"
    xwininfo -root -tree | grep '"' || true
    status=1
  elif [ ! -f "$copy" ] || [ ! -d "$(dirname "$copy")/exhibits" ]; then
    echo "FAIL: $name made no copy of its bank in $(dirname "$copy")"
    status=1
  fi
  if [ -n "$shots" ] && command -v import >/dev/null; then
    import -window root "$shots/$name.png" || true
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit "$status"
fi

build="$1"
shots="${2:-}"
for tool in cpack dpkg-deb dpkg-shlibdeps xvfb-run xauth xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (tools/setup.sh installs it); the Debian package was not checked."
    exit 77
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb="$(ls "$work"/out/*.deb)"
echo "built $(basename "$deb")"

failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

# dependencies computed from what the programs link, and the plugins they load
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
  libsqlite3-0 qt6-qpa-plugins; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
    fail "Depends lacks $package"
done
[ "$(dpkg-deb -f "$deb" Package Version Section | tr '\n' ' ')" = \
  "Package: quizmoor Version: 9.0.0 Section: education " ] ||
  fail "control: $(dpkg-deb -f "$deb" Package Version Section)"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/brel usr/bin/brel_demo usr/share/quizmoor/qbk09.mdb \
  usr/share/quizmoor/qbk009.mdb usr/share/applications/org.quizmoor.Quizmoor.desktop \
  usr/share/metainfo/org.quizmoor.Quizmoor.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/org.quizmoor.Quizmoor.png \
  usr/share/icons/hicolor/256x256/apps/org.quizmoor.Quizmoor.png \
  usr/share/icons/hicolor/scalable/apps/org.quizmoor.Quizmoor.svg \
  usr/share/man/man1/brel.1.gz usr/share/man/man1/brel_demo.1.gz; do
  [ -f "$root/$file" ] || fail "not in the package: $file"
done
# nothing of the build folder is needed, or named
if grep -rlF "$(cd "$build" && pwd)" "$root" >/dev/null; then
  fail "the package names the build folder: $(grep -rlF "$(cd "$build" && pwd)" "$root" | head -3)"
fi
find "$root/usr/share/quizmoor" -type f -exec sha1sum {} + | sort >"$work/before"

# each program from the unpacked root, on an empty home, from an empty folder
for edition in "brel qbk09.mdb" "brel_demo qbk009.mdb"; do
  set -- $edition
  home="$work/home-$1"
  mkdir -p "$home" "$work/cwd"
  (cd "$work/cwd" && env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$self" --inside "$root/usr/bin/$1" "$2" "$shots") ||
    failed=1
done
find "$root/usr/share/quizmoor" -type f -exec sha1sum {} + | sort >"$work/after"
cmp -s "$work/before" "$work/after" || fail "a program changed the installed banks"
[ -z "$(ls -A "$work/cwd")" ] || fail "a program wrote into the folder it was started from"

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "Debian package: installs, depends on what it links, and both programs start"
