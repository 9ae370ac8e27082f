#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks what it holds: the programs, icon,
# menu entry and udev rule in their places, the run-time dependencies, the maintainer scripts
# and a menu entry the desktop accepts. Usage: package_test.sh BUILD-DIR
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
for path in ./usr/bin/veltrane ./usr/bin/veltrane-cli \
    ./usr/share/applications/veltrane.desktop \
    ./usr/share/icons/hicolor/scalable/apps/veltrane.svg \
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
desktop-file-validate "$out/root/usr/share/applications/veltrane.desktop" ||
    fail "the menu entry does not validate"
grep -q 'ATTR{latency_timer}="1"' "$out/root/usr/lib/udev/rules.d/70-veltrane-logger.rules" ||
    fail "the udev rule does not set the latency timer"
# The installed manual page renders with the options its program's help lists.
MANWIDTH=80 man -l "$out/root/usr/share/man/man1/veltrane-cli.1.gz" 2>/dev/null | grep -q -- '--format' ||
    fail "the veltrane-cli manual page does not render"
echo "package_test: $(basename "$deb") ok"
