#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what an installed
# copy is: the file list and modes, the binaries, the desktop entries, icons,
# metainfo and man pages, and that the installed programs keep the user's
# files in ~/.config/wavix.
#
#   check-install.sh BUILD_DIR SOURCE_DIR VERSION PRIVATE_LIB_DIR
set -uo pipefail
build="$1" source="$2" version="$3" private_lib_dir="$4"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
root="$tmp/root" prefix="$tmp/root/usr"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
have() { command -v "$1" >/dev/null 2>&1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 \
  || { cat "$tmp/install.log"; echo "FAIL: cmake --install"; exit 1; }

# --- the file list and the modes ---
listing() { (cd "$prefix" && find . -mindepth 1 \( -type f -o -type l -o -type d -empty \) -printf '%y %m %P\n' \
  | sed -e 's|^f ||' -e 's|^l \(.*\)| \1 (link)|' -e 's|^d \(.*\)|\1/|' | sort -k2); }
grep -v '^#' "$source/tests/package/installed-files.txt" | sed "s|@PRIVATE_LIB_DIR@|$private_lib_dir|" \
  | sort -k2 >"$tmp/expected"
listing >"$tmp/installed"
diff -u "$tmp/expected" "$tmp/installed" || fail "installed files differ from tests/package/installed-files.txt"
[ -z "$(find "$root" -mindepth 1 -maxdepth 1 ! -name usr)" ] || fail "files outside the prefix"

# --- the binaries: the system's libusb, no path into the build tree ---
for elf in "$prefix"/bin/* "$prefix/$private_lib_dir"/*.so; do
  if readelf -d "$elf" | grep -E 'R(UN)?PATH' | grep -qE "$build|$source"; then
    fail "$elf keeps a library path into the build tree"
  fi
done
for program in wavix Remote; do
  readelf -d "$prefix/bin/$program" | grep -q 'NEEDED.*\[libusb-0.1.so.4\]' \
    || fail "$program does not use the system's libusb-0.1"
done

# --- desktop entries and their icons ---
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }'; }
for entry in "$prefix"/share/applications/*.desktop; do
  if have desktop-file-validate; then
    desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
  fi
  exec_name="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
  [ -x "$prefix/bin/$exec_name" ] || fail "$entry starts $exec_name, which is not installed"
  icon="$(sed -n 's/^Icon=//p' "$entry")"
  for size in 48 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    [ -f "$png" ] && [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is not a ${size}x${size} PNG"
  done
  grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" || fail "no scalable icon $icon"
done

# --- AppStream metainfo ---
for metainfo in "$prefix"/share/metainfo/*.xml; do
  if have appstreamcli; then
    appstreamcli validate --no-net "$metainfo" >"$tmp/appstream" 2>&1 || { cat "$tmp/appstream"; fail "appstreamcli validate $metainfo"; }
  fi
  grep -q "<release version=\"$version\"" "$metainfo" || fail "$metainfo does not name release $version"
  launchable="$(sed -n 's/.*<launchable type="desktop-id">\(.*\)<\/launchable>.*/\1/p' "$metainfo")"
  [ -f "$prefix/share/applications/$launchable" ] || fail "$metainfo launches $launchable, which is not installed"
done

# --- man pages: well-formed, and naming every command and option the
# program's own help lists ---
check_man() {
  local page="$1" help="$2" word
  if have groff; then
    warnings="$(zcat "$page" | groff -man -ww -z 2>&1)"
    [ -z "$warnings" ] || fail "$page: $warnings"
  fi
  zcat "$page" | sed 's/\\-/-/g; s/\\f[BIRP]//g' >"$tmp/man.txt"
  for word in $(sed -n 's/^  \([a-z][a-z]*\).*/\1/p' <<<"$help") $(grep -oE -- '--[a-z][a-z-]+' <<<"$help" | sort -u); do
    grep -qw -- "$word" "$tmp/man.txt" || fail "$(basename "$page") lacks '$word', which the program's help lists"
  done
}
check_man "$prefix/share/man/man1/wavix-cli.1.gz" "$("$prefix/bin/wavix-cli" --help)"
check_man "$prefix/share/man/man1/wavix-sim.1.gz" "$("$prefix/bin/wavix-sim" help)"

grep -qE 'ATTR\{idVendor\}=="16c0".*ATTR\{idProduct\}=="1012".*TAG\+="uaccess"' "$prefix/lib/udev/rules.d/70-wavix.rules" \
  || fail "the udev rule does not give the device to the logged-in user"

# --- the installed programs keep the user's files in ~/.config/wavix ---
export HOME="$tmp/home"
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
QT_QPA_PLATFORM=offscreen "$prefix/bin/wavix" >"$tmp/wavix.log" 2>&1 &
wavix_pid=$!
for _ in $(seq 100); do
  [ -f "$HOME/.config/wavix/success.wav" ] && break
  sleep 0.1
done
kill "$wavix_pid" 2>/dev/null
wait "$wavix_pid" 2>/dev/null
[ -f "$HOME/.config/wavix/success.wav" ] || { cat "$tmp/wavix.log"; fail "the installed wavix wrote nothing into ~/.config/wavix"; }
[ "$(stat -c %a "$HOME/.config" "$HOME/.config/wavix" | tr '\n' ' ')" = "700 700 " ] \
  || fail "~/.config/wavix was not created private (0700)"
listing >"$tmp/after"
diff -u "$tmp/installed" "$tmp/after" || fail "the installed wavix wrote into its installed folders"

# wavix-cli reads the analyzer's Setting.ini from there: a capture file of
# one channel (start level 1, 9000 us, 4500 us) printed with the user's prefix.
{ printf '\0\0\0\0\1\0\0\0\x28\x23\0\0\x94\x11\0\0'; head -c $((8196 - 16)) /dev/zero; } >"$tmp/one.lgc"
printf '[Format]\r\nPrefix="user:"\r\n' >"$HOME/.config/wavix/Setting.ini"
text="$("$prefix/bin/wavix-cli" text "$tmp/one.lgc")"
[[ "$text" == user:* ]] || fail "the installed wavix-cli ignores ~/.config/wavix/Setting.ini (printed: $text)"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "install layout: all checks passed"
