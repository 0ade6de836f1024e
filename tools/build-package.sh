#!/usr/bin/env bash
# Builds the Debian package from debian/ and checks it with lintian, which fails the build on an
# error or a warning. The build runs in a copy of the files git knows of, as they stand in the
# working tree, so no build folder ends up in the source package, and the results land in
# build-package/: mudracq_VERSION_amd64.deb, its debug symbols, the source package and the
# .changes naming them all.
# Usage: tools/build-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --package
out=build-package
rm -rf "$out"
mkdir -p "$out/tree/mudracq"
git ls-files -z --cached --others --exclude-standard |
    tar -c --null --ignore-failed-read -T - 2>/dev/null | tar -x -C "$out/tree/mudracq"
(cd "$out/tree/mudracq" && dpkg-buildpackage -us -uc --build=full >../build.log 2>&1) || {
    tail -n 40 "$out/tree/build.log" >&2
    echo "FAIL: dpkg-buildpackage failed; the whole log is $out/tree/build.log" >&2
    exit 1
}
find "$out/tree" -maxdepth 1 -type f -name 'mudracq*' -exec mv -t "$out" {} +
changes=$(ls "$out"/mudracq_*_amd64.changes)
echo "built: $(cd "$out" && ls ./*.deb ./*.dsc | tr '\n' ' ')"
status=0
lintian --display-info --fail-on error,warning "$changes" >"$out/lintian.txt" 2>&1 || status=$?
grep -v 'running with root privileges' "$out/lintian.txt" || true
if ((status != 0)); then
    echo "FAIL: lintian reports an error or a warning on $changes (status $status)" >&2
    exit 1
fi
echo "lintian: no error and no warning on $changes"
