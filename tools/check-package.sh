#!/usr/bin/env bash
# Proves the Debian package works on a clean Debian 12: builds it (lintian must find no error and
# no warning), builds it again from its source package in another folder and compares the two,
# bootstraps a minimal Debian 12 into a folder, installs the package there with apt-get, starts
# the game from its desktop entry as an ordinary user under Xvfb and takes screenshots (the menu,
# an error box), then removes and purges it and lists what is left of it. Needs root and a Debian
# mirror; any failure ends it with a FAIL line.
# Usage: tools/check-package.sh [ROOT_FOLDER]   (default /var/tmp/mudracq-clean-root)
# Screenshots and logs: build-package-check/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-/var/tmp/mudracq-clean-root}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
report=$PWD/build-package-check
entry=/usr/share/applications/org.example.mudracq.desktop

step="starting"
trap 'echo "FAIL: $step" >&2' ERR
mounted=()
unmount_all() {
    for ((k = ${#mounted[@]} - 1; k >= 0; --k)); do
        umount -l "${mounted[k]}" 2>/dev/null || true
    done
}
trap unmount_all EXIT
fail() {
    trap - ERR
    echo "FAIL: $*" >&2
    exit 1
}
# Runs a command with its output appended to a log, and says how long it took.
timed() {
    local log=$1 start=$SECONDS status=0
    shift
    "$@" >>"$log" 2>&1 || status=$?
    echo "  ($((SECONDS - start)) s)"
    return $status
}
((EUID == 0)) || fail "needs root (debootstrap, chroot)"
rm -rf "$report"
mkdir -p "$report"

step="building the package (tools/build-package.sh)"
echo "== $step"
timed "$report/build.log" bash tools/build-package.sh ||
    fail "$step; see $report/build.log"
grep -E '^(built|lintian|[EWI]):' "$report/build.log"
package=$(ls "$PWD"/build-package/mudracq_*_amd64.deb)

step="building it again from its source package in another folder, to compare"
echo "== $step"
again=build-package-again
rm -rf "$again"
mkdir "$again"
dpkg-source -x build-package/mudracq_*.dsc "$again/mudracq" >"$report/build-again.log" 2>&1
(cd "$again/mudracq" && timed "$report/build-again.log" dpkg-buildpackage -us -uc -b) ||
    fail "$step; see $report/build-again.log"
for deb in build-package/*.deb; do
    cmp -s "$deb" "$again/$(basename "$deb")" ||
        fail "two builds of the same tree differ: $(basename "$deb")"
done
echo "the same bytes twice: $(cd build-package && sha256sum ./*.deb | tr '\n' ' ')"

step="bootstrapping a minimal Debian 12 into $root"
echo "== $step"
command -v debootstrap >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
rm -rf "$root"
timed "$report/debootstrap.log" debootstrap --variant=minbase bookworm "$root" "$mirror" ||
    fail "$step; see $report/debootstrap.log"
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind /dev "$root/dev" && mounted+=("$root/dev")
mount --bind /dev/pts "$root/dev/pts" && mounted+=("$root/dev/pts")
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
apt_in_root() { in_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@"; }

apt_in_root update >"$report/apt.log" 2>&1
in_root useradd --create-home --shell /bin/bash player
# Everything on the system but the scratch and cache folders and the player's home.
files_now() {
    (cd "$root" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./tmp -o -path ./home \
        -o -path ./root -o -path ./var/cache -o -path ./var/log -o -path ./run \) -prune -o -print |
        sort)
}
packages_now() { in_root dpkg-query -W -f='${Package}\n' | sort; }
files_now >"$report/files-before.txt"
packages_now >"$report/packages-before.txt"

step="installing the package with apt-get"
echo "== $step"
cp "$package" "$root/tmp/"
timed "$report/apt.log" apt_in_root install "/tmp/$(basename "$package")" ||
    fail "$step; see $report/apt.log"
in_root dpkg-query -W -f='installed: ${Package} ${Version} ${Status}\n' mudracq
in_root dpkg -L mudracq >"$report/package-files.txt"
echo "sans-serif is $(in_root fc-match sans-serif), spacing $(in_root fc-match -f '%{spacing}' \
    sans-serif)"
[ -z "$(in_root fc-match -f '%{spacing}' sans-serif)" ] ||
    fail "the menus and boxes would be drawn in a monospace font"

step="preparing the X server and launcher the check needs"
echo "== $step"
# A window manager; the launcher (gio) starts a desktop entry the way a menu does; xdotool
# types; ImageMagick takes the screenshots, menus included, which xwd shows black. They come
# after the game, so that only its own dependencies chose the fonts above.
check_tools=(xvfb xauth x11-utils xdotool openbox libglib2.0-bin imagemagick)
timed "$report/apt.log" apt_in_root install --no-install-recommends "${check_tools[@]}"

step="starting the game from its desktop entry"
echo "== $step"
cat >"$root/tmp/play.sh" <<EOF
#!/bin/sh
# Run by the player under Xvfb: start the game from its menu entry, photograph what it shows.
title="Trivkan's Mudrac Quiz"
shown() { xwininfo -root -tree | grep -q "\$1"; }
wait_for() { for _ in \$(seq 150); do shown "\$1" && return 0; sleep 0.2; done; return 1; }
gone() { for _ in \$(seq 50); do shown "\$title" || return 0; sleep 0.2; done; return 1; }
focus() { xdotool search --name "\$1" windowfocus --sync 2>/dev/null; }
openbox >/tmp/openbox.log 2>&1 &
sleep 1
gio launch $entry || exit 11
wait_for "\$title" || exit 12
sleep 2
focus "\$title"
xdotool key alt+i && sleep 1 && import -window root /tmp/menu.png
xdotool key Escape alt+i z
gone || exit 13
[ -s ~/.local/share/MudracQ/m_highscore.txt ] || exit 14
# A damaged Top 10 table: the game starts with the error box that says so.
printf 'Ana\r\nfifty\r\n' >~/.local/share/MudracQ/m_highscore.txt
gio launch $entry || exit 15
wait_for '"MudracQ": ' || exit 16
sleep 2
import -window root /tmp/box.png
focus '^MudracQ\$'
xdotool key Return
wait_for "\$title" || exit 17
sleep 1
focus "\$title"
xdotool key alt+i z
gone || exit 18
EOF
chmod 755 "$root/tmp/play.sh"
status=0
# A display number of its own: X servers outside the chroot share the abstract socket names.
display=$((300 + RANDOM % 600))
# A login shell gives the player the PATH of a desktop session, /usr/games in it.
timeout 120 chroot "$root" runuser --login player -c \
    "xvfb-run -n $display -s '-screen 0 1024x768x24' /tmp/play.sh" >"$report/play.log" 2>&1 || status=$?
cp "$root"/tmp/*.png "$report/" 2>/dev/null || true
case $status in
0) echo "the game started from its desktop entry, created its Top 10 file and showed its box" ;;
12) fail "the installed game did not show its main window; see $report/play.log" ;;
14) fail "the installed game did not create its Top 10 file" ;;
16) fail "the installed game did not show the box of a damaged Top 10 table" ;;
*) fail "$step (step $status of /tmp/play.sh); see $report/play.log" ;;
esac
echo "screenshots: $report/menu.png $report/box.png"

step="removing and purging the package"
echo "== $step"
timed "$report/apt.log" apt_in_root remove mudracq
[ ! -e "$root/usr/games/mudracq" ] || fail "the game is still there after its removal"
# apt no longer knows a removed local package: dpkg purges what remains of it, its settings.
timed "$report/apt.log" in_root dpkg --purge mudracq
# The check's own tools go too, and every package installed for the game or for them, also those
# only recommended by others: the system is back to what it was.
apt_in_root purge "${check_tools[@]}" >>"$report/apt.log" 2>&1
apt_in_root autoremove --purge -o APT::AutoRemove::RecommendsImportant=false \
    >>"$report/apt.log" 2>&1
if in_root dpkg-query -W mudracq >/dev/null 2>&1; then
    fail "dpkg still knows mudracq after the purge"
fi
# Nothing of the game may be left: no file it held, nothing named after it outside the homes.
{
    while read -r path; do
        if [ -e "$root$path" ] && [ ! -d "$root$path" ]; then echo "$path"; fi
    done <"$report/package-files.txt"
    (cd "$root" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./tmp -o -path ./home \) \
        -prune -o -iname '*mudracq*' -print)
} >"$report/left.txt"
if [ -s "$report/left.txt" ]; then
    cat "$report/left.txt"
    fail "the purge left files of the game behind (above, also in $report/left.txt)"
fi
echo "left of the game after the purge: nothing"
# What other packages leave by their own rules is listed, not judged: a package that another
# one's alternatives keep, the machine-id systemd made.
files_now >"$report/files-after.txt"
comm -13 "$report/files-before.txt" "$report/files-after.txt" >"$report/left-by-others.txt"
echo "packages that stay, not there before: $(packages_now | comm -13 \
    "$report/packages-before.txt" - | tr '\n' ' ')"
echo "other new paths: $(wc -l <"$report/left-by-others.txt") (in $report/left-by-others.txt)"
echo "the player's data stays in their home: $(cd "$root/home/player" &&
    find .local/share/MudracQ -type f | tr '\n' ' ')"
echo "PASS: built, installed, started from its desktop entry, removed and purged"
