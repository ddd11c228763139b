#!/usr/bin/env bash
# The release archive as a user gets it: unpacks build/dist/DOVE60-*.zip into
# a fresh folder, checks what it holds, then runs archive_check.exe under Wine
# against the unpacked programs.
#   archive_test.sh DIST_DIR WORK_DIR WINE_RUN ARCHIVE_CHECK_EXE
set -uo pipefail
dist=$1 work=$2 wine_run=$3 check=$4
zips=("$dist"/DOVE60-*.zip)
[ ${#zips[@]} = 1 ] && [ -f "${zips[0]}" ] || { echo "want one archive in $dist (scripts/package makes it)"; exit 1; }
zip=${zips[0]}
version=$(basename "$zip" .zip); version=${version#DOVE60-}
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "no version in the name $zip"; exit 1; }

want="UserGuide.txt
samples/DOVE60.ENV
samples/Version.kvi
samples/install.cmd
samples/installer-steps.txt
x64/DOVE60.exe
x86/DOVE60.exe"
got=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
[ "$got" = "$want" ] || { echo "the archive holds:"; echo "$got"; echo "expected:"; echo "$want"; exit 1; }

rm -rf "$work"; mkdir -p "$work"
unzip -q "$zip" -d "$work" || exit 1
# Text files a Windows user opens keep CR LF line ends.
for f in UserGuide.txt samples/install.cmd samples/installer-steps.txt samples/Version.kvi; do
  if grep -q $'[^\r]$' "$work/$f" || ! grep -q $'\r$' "$work/$f"; then echo "$f has lines without CR LF"; exit 1; fi
done
grep -q '^# ' "$work/UserGuide.txt" || { echo "UserGuide.txt is not the guide"; exit 1; }

DOVE_ARCHIVE_DIR="Z:${work//\//\\}" DOVE_ARCHIVE_VERSION=$version "$wine_run" "$check"
