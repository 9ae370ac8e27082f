#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks what it holds: the programs, icon,
# menu entry, metainfo, licence, changelog and udev rule in their places, the run-time
# dependencies, the maintainer and the maintainer scripts, a menu entry and metainfo the desktop
# tools accept, and any manual pages and completions as they are used. Usage: package_test.sh
# BUILD-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "package_test: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$out"/veltrane_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package in $out"

listing=$(dpkg-deb -c "$deb")
contents=$(awk '{print $NF}' <<<"$listing")
app=org.veltrane.Veltrane
for path in ./usr/bin/veltrane ./usr/bin/veltrane-cli \
    ./usr/share/applications/$app.desktop \
    ./usr/share/metainfo/$app.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/veltrane.svg \
    ./usr/share/doc/veltrane/copyright ./usr/share/doc/veltrane/changelog.Debian.gz \
    ./usr/lib/udev/rules.d/70-veltrane-logger.rules \
    ./usr/share/man/man1/veltrane.1.gz ./usr/share/man/man1/veltrane-cli.1.gz \
    ./usr/share/bash-completion/completions/veltrane-cli; do
    grep -qx -- "$path" <<<"$contents" || fail "missing $path"
done
for program in veltrane veltrane-cli; do
    grep -qE "^-rwxr-xr-x .* \./usr/bin/$program$" <<<"$listing" || fail "$program not executable"
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6network6 \
    libusb-1.0-0 qt6-qpa-plugins libqt6svg6; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# A real person or team at a reachable address, never a local account.
maintainer=$(dpkg-deb -f "$deb" Maintainer)
grep -qE '^[^<>@]+ <[^<>@ ]+@[a-z0-9-]+(\.[a-z0-9-]+)+>$' <<<"$maintainer" ||
    fail "the maintainer is no name with an address: $maintainer"
grep -qE '@(localhost|[^>]*\.(local|localdomain|example))>' <<<"$maintainer" &&
    fail "the maintainer's address is local: $maintainer"

dpkg-deb -e "$deb" "$out/control"
for script in postinst postrm; do
    [ -x "$out/control/$script" ] || fail "$script missing or not executable"
    grep -q 'command -v udevadm' "$out/control/$script" || fail "$script does not guard udevadm"
    grep -q 'udevadm control --reload-rules && udevadm trigger' "$out/control/$script" ||
        fail "$script does not reload udev"
    # Without udevadm on the path the scripts still succeed.
    PATH=/nonexistent /bin/sh "$out/control/$script" configure || fail "$script fails without udevadm"
done

dpkg-deb -x "$deb" "$out/root"
root="$out/root"
doc="$root/usr/share/doc/veltrane"
# A hint (two main categories, say) is printed but passes; the entry must draw none.
hints=$(desktop-file-validate "$root/usr/share/applications/$app.desktop" 2>&1) ||
    fail "the menu entry does not validate: $hints"
[ -z "$hints" ] || fail "the menu entry draws remarks: $hints"
# The metainfo on its own, then with the menu entry it launches as the software centres read them.
appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" >&2 ||
    fail "the metainfo does not validate"
appstreamcli validate-tree --no-net "$root" >&2 || fail "the installed tree does not validate"
version=$(dpkg-deb -f "$deb" Version)
grep -q "<release version=\"${version%-*}\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"" \
    "$root/usr/share/metainfo/$app.metainfo.xml" || fail "the metainfo names no release ${version%-*}"

head -n 1 "$doc/copyright" | grep -qx \
    'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
grep -qx 'Files: \*' "$doc/copyright" || fail "the copyright file covers no files"
grep -qx 'License: Expat' "$doc/copyright" || fail "the copyright file names no Expat (MIT) licence"
for sentence in 'Permission is hereby granted, free of charge, to any person obtaining a copy' \
    'THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR'; do
    grep -qxF " $sentence" "$doc/copyright" || fail "the licence text lacks: $sentence"
done

# gzip -n: no file name or time stamp, so two builds of one tree give the same bytes.
gzip -lv "$doc/changelog.Debian.gz" >/dev/null || fail "the changelog is no gzip file"
[ "$(od -An -tx1 -j4 -N4 "$doc/changelog.Debian.gz" | tr -d ' ')" = 00000000 ] ||
    fail "the changelog carries a time stamp"
gzip -dc "$doc/changelog.Debian.gz" >"$out/changelog"
[ "$(dpkg-parsechangelog -l "$out/changelog" -S Version)" = "$version" ] ||
    fail "the changelog's newest entry is not $version"
[ "$(dpkg-parsechangelog -l "$out/changelog" -S Maintainer)" = "$maintainer" ] ||
    fail "the changelog's newest entry is not signed by the maintainer"

# Manual pages and bash completions are checked as they are used once installed: man finds each
# page by name and formats it without warnings; each completion loads and completes its program.
# A file the package must hold goes into the list of paths at the top.
for page in "$root"/usr/share/man/man*/*; do
    [ -e "$page" ] || continue
    name=$(basename "$page" | sed -E 's/\.[0-9][a-z]*(\.gz)?$//')
    warnings=$(MANPATH="$root/usr/share/man" MANWIDTH=80 man --warnings "$name" 2>&1 >/dev/null) ||
        fail "man $name fails: $warnings"
    [ -z "$warnings" ] || fail "man $name warns: $warnings"
done
for completion in "$root"/usr/share/bash-completion/completions/*; do
    [ -e "$completion" ] || continue
    name=$(basename "$completion")
    bash -c 'source "$1" && complete -p "$2"' _ "$completion" "$name" >/dev/null ||
        fail "the completion $name does not load"
done
grep -q 'ATTR{latency_timer}="1"' "$out/root/usr/lib/udev/rules.d/70-veltrane-logger.rules" ||
    fail "the udev rule does not set the latency timer"
# The installed manual page renders with the options its program's help lists.
MANWIDTH=80 man -l "$out/root/usr/share/man/man1/veltrane-cli.1.gz" 2>/dev/null | grep -q -- '--format' ||
    fail "the veltrane-cli manual page does not render"
echo "package_test: $(basename "$deb") ok"
