#!/usr/bin/env bash
# Builds the Debian packages and installs them into a fresh Debian 12 as a
# user would (apt install ./wavix_*.deb ./wavix-sim_*.deb), then, as an
# ordinary user there, starts the installed programs: wavix-cli --help,
# wavix-sim, and wavix, Remote and a remote built from the installed Remote
# under Xvfb against the simulated device. It checks that wavix keeps its
# files in ~/.config/wavix and that the built remote sends its key's code.
#
#   scripts/test-package.sh [--base bookworm.tar] [--build DIR] [--keep] [--shots DIR]
#
# --base   unpack this tarball of `debootstrap --variant=minbase bookworm`
#          instead of running debootstrap (faster)
# --build  the build folder to package (default: build)
# --keep   leave the Debian tree in place for a look around
# --shots  save screenshots of the installed programs there (PNG)
#
# Needs root (chroot, mounts) and network for apt. Not part of the test
# suite: it takes minutes and downloads Qt into the fresh system.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
base="" build="$root/build" keep=0 shots=""
while [ $# -gt 0 ]; do
  case "$1" in
    --base) base="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    --keep) keep=1; shift ;;
    --shots) shots="$2"; shift 2 ;;
    *) echo "usage: $0 [--base TAR] [--build DIR] [--keep] [--shots DIR]" >&2; exit 2 ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "test-package.sh needs root (chroot)" >&2; exit 2; }
"$root/scripts/install-deps.sh" --package

echo "== Building the packages =="
"$root/scripts/build.sh" "$build"
rm -f "$build"/*.deb
cmake --build "$build" --target package >/dev/null
debs=("$build"/wavix_*.deb "$build"/wavix-sim_*.deb)
ls -l "${debs[@]}"

target="$(mktemp -d /tmp/wavix-bookworm.XXXXXX)"
cleanup() {
  umount "$target/dev/pts" "$target/proc" 2>/dev/null || true
  if [ "$keep" -eq 1 ]; then echo "The Debian tree stays in $target"; else rm -rf "$target"; fi
}
trap cleanup EXIT

echo "== A fresh Debian 12 in $target =="
if [ -n "$base" ]; then
  tar -xf "$base" -C "$target"
else
  debootstrap --variant=minbase bookworm "$target" http://deb.debian.org/debian >/dev/null
fi
mount -t proc proc "$target/proc"
mount -t devpts -o newinstance devpts "$target/dev/pts"
cp /etc/resolv.conf "$target/etc/resolv.conf"
work="$target/root/wavix"
mkdir -p "$work"
cp "${debs[@]}" "$work/"

# A remote built from the installed Remote: its program file, then one Power
# key that sends a short NEC-like code, then the trailer with the program's
# length. The design is made here; the program part is the installed file.
remote_length="$(dpkg-deb --fsys-tarfile "$build"/wavix_*.deb | tar -xO ./usr/bin/Remote | wc -c)"
python3 - "$work/design.bin" "$remote_length" <<'EOF'
import struct, sys
code = [1, 9000, 4500, 560, 560, 560, 1690, 560, 1690, 560, 560, 560]
record = struct.pack("<5i", 1, 156, 300, 204, 348) + struct.pack("<2048i", *(code + [0] * (2048 - len(code))))
caption = "On".encode("utf-16-le") + b"\x0d\x00\x0a\x00"
trailer = b"V1.0" + struct.pack("<ii", int(sys.argv[2]), 1)
open(sys.argv[1], "wb").write(record + caption + trailer)
EOF

# What an ordinary user does on the installed system.
cat >"$work/as-user.sh" <<'EOF'
#!/bin/bash
set -u
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pids=()
finish() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; wait 2>/dev/null; }
trap finish EXIT
wait_for() { for _ in $(seq 100); do eval "$1" && return 0; sleep 0.2; done; return 1; }
shot() { [ -d /root/wavix/shots ] || return 0; xwd -root -silent >"/tmp/$1.xwd" && cp "/tmp/$1.xwd" /root/wavix/shots/; }
export HOME=/home/tester DISPLAY=:24 WAVIX_SIM_SOCKET=/tmp/wavix-sim-test.sock
preload="$(ls /usr/lib/*/wavix/libwavix-simusb.so)"
cd "$HOME"

wavix-cli --help | grep -q '^usage: wavix-cli' || fail "wavix-cli --help"
wavix-sim remotes | grep -q nec-tv || fail "wavix-sim remotes"
man -w wavix-cli >/dev/null 2>&1 || [ -f /usr/share/man/man1/wavix-cli.1.gz ] || fail "no man page"

Xvfb :24 -screen 0 1280x1024x24 -nolisten tcp >/tmp/xvfb.log 2>&1 & pids+=($!)
wavix-sim daemon >/tmp/sim.log 2>&1 & pids+=($!)
wait_for '[ -S "$WAVIX_SIM_SOCKET" ] && xdpyinfo >/dev/null 2>&1' \
  || fail "Xvfb or the simulated device did not start"

# The analyzer, installed: its files go to ~/.config/wavix.
LD_PRELOAD="$preload" wavix >/tmp/wavix.log 2>&1 & wavix_pid=$!; pids+=($wavix_pid)
window="$(timeout 30 xdotool search --sync --onlyvisible --name '^Wavix II' | head -1)"
[ -n "$window" ] || { cat /tmp/wavix.log; fail "wavix shows no window"; }
wait_for '[ -f ~/.config/wavix/success.wav ]' || fail "wavix wrote no success.wav into ~/.config/wavix"
[ "$(stat -c %a ~/.config ~/.config/wavix | tr '\n' ' ')" = "700 700 " ] || fail "~/.config/wavix is not private"
# Operation > Vendor: the library window records its state in Setting.ini.
# No window manager runs: the window gets the focus directly.
xdotool windowfocus --sync "$window"
xdotool key alt+o
sleep 0.5
xdotool key v
wait_for 'grep -qi "^\[Test\]" ~/.config/wavix/Setting.ini 2>/dev/null' \
  || fail "wavix wrote no Setting.ini with the library window's state into ~/.config/wavix"
[ -n "$(ls ~/.config/wavix/Language/ 2>/dev/null)" ] || fail "no language packs in ~/.config/wavix/Language"
wavix-sim press nec-tv power >/dev/null || fail "wavix-sim press"
sleep 1
shot wavix
kill "$wavix_pid"

# The designer, installed.
LD_PRELOAD="$preload" Remote >/tmp/remote.log 2>&1 & remote_pid=$!; pids+=($remote_pid)
[ -n "$(timeout 30 xdotool search --sync --onlyvisible --name '^Remote$' | head -1)" ] \
  || { cat /tmp/remote.log; fail "Remote shows no window"; }
shot remote
kill "$remote_pid"
sleep 0.5

# A remote built from the installed program runs from anywhere and sends.
cat /usr/bin/Remote /root/wavix/design.bin >"$HOME/tv.exe"
chmod 0755 "$HOME/tv.exe"
cd /
LD_PRELOAD="$preload" "$HOME/tv.exe" >/tmp/tv.log 2>&1 & pids+=($!)
built="$(timeout 30 xdotool search --sync --onlyvisible --name '^Remote$' | head -1)"
if [ -z "$built" ]; then
  cat /tmp/tv.log; fail "the built remote shows no window"
else
  eval "$(xdotool getwindowgeometry --shell "$built")"
  sleep 1
  xdotool mousemove --sync $((X + 180)) $((Y + 324)) click 1
  wait_for 'wavix-sim log | grep -q "SendTrain"' || fail "the built remote's key sent nothing"
  shot built-remote
fi

ls -la "$HOME/.config/wavix"
[ "$failures" -eq 0 ] && echo "as the user: all checks passed"
exit "$failures"
EOF

cat >"$work/as-root.sh" <<'EOF'
#!/bin/bash
set -eu
export DEBIAN_FRONTEND=noninteractive
cd /root/wavix
apt-get update -q >/dev/null
# The packages as a user installs them: apt resolves their dependencies.
apt-get install -y -q ./wavix_*.deb ./wavix-sim_*.deb 2>&1 | tail -3
dpkg -s wavix wavix-sim | grep -E '^(Package|Status|Version)'
# What this check itself needs: a display, clicks, screenshots.
apt-get install -y -q --no-install-recommends xvfb xdotool x11-utils x11-apps >/dev/null
getent group plugdev >/dev/null || { echo "FAIL: the udev rule names group plugdev, which does not exist"; exit 1; }
for f in /usr/lib/udev/rules.d/70-wavix.rules /usr/share/applications/wavix.desktop \
         /usr/share/applications/wavix-remote.desktop /usr/share/icons/hicolor/scalable/apps/wavix.svg \
         /usr/share/icons/hicolor/48x48/apps/wavix-remote.png /usr/share/wavix/wavix-guide.html; do
  [ -f "$f" ] || { echo "FAIL: $f is not installed"; exit 1; }
done
id tester >/dev/null 2>&1 || useradd -m tester
chmod 0755 /root /root/wavix
EOF
chmod 0755 "$work/as-user.sh" "$work/as-root.sh"
[ -n "$shots" ] && mkdir -p "$work/shots" && chmod 0777 "$work/shots"

echo "== Installing the packages =="
chroot "$target" /root/wavix/as-root.sh
echo "== Running the installed programs as an ordinary user =="
# A network namespace of its own: the display and sockets inside cannot meet
# anything on this machine.
status=0
unshare --net chroot "$target" runuser -u tester -- /root/wavix/as-user.sh || status=$?
if [ -n "$shots" ]; then
  mkdir -p "$shots"
  for xwd in "$work"/shots/*.xwd; do
    [ -f "$xwd" ] && convert "xwd:$xwd" "$shots/$(basename "$xwd" .xwd).png"
  done
fi
if [ "$status" -ne 0 ]; then
  echo "== FAILED: $status check(s) =="
  exit 1
fi
echo "== The packages install and run on a fresh Debian 12 =="
