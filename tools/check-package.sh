#!/usr/bin/env bash
# Proves the Debian package installs on a clean Debian 12 and the installed game starts from its
# desktop entry: builds the package, bootstraps a minimal Debian into a folder, installs the
# package there with apt-get and starts the launcher's command under Xvfb. Needs root.
# Usage: tools/check-package.sh [ROOT_FOLDER]   (default /var/tmp/mudracq-clean-root)
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-/var/tmp/mudracq-clean-root}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
tools/install-deps.sh

cmake -S . -B build-package -DMUDRACQ_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
package=$(ls build-package/mudracq_*_amd64.deb)

rm -rf "$root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null
mount -t proc proc "$root/proc"
trap 'umount "$root/proc" 2>/dev/null || true' EXIT

cp "$package" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$package")" \
    >/dev/null
echo "installed: $(in_root dpkg-query -W -f='${Package} ${Version} ${Status}' mudracq)"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    xvfb xauth x11-utils >/dev/null

# Start the game the way a menu does: the desktop entry's Exec line.
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/org.example.mudracq.desktop")
in_root xvfb-run -a sh -c "$command & sleep 5; xwininfo -root -tree > /tmp/windows.txt; kill \$!"
if grep -q "Trivkan's Mudrac Quiz" "$root/tmp/windows.txt" &&
    [ -s "$root/root/.local/share/MudracQ/m_highscore.txt" ]; then
    echo "PASS: the installed game started and created its Top 10 file"
else
    echo "FAIL: the installed game did not show its main window" >&2
    exit 1
fi
