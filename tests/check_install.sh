#!/bin/sh
# Installs the build into a fresh prefix and checks what a desktop needs:
# the program, a valid .desktop entry, valid AppStream data and the icons.
# Then checks that a prefix nobody can write to is refused in plain words.
# usage: check_install.sh <build folder> <desktop id>
set -u
build=$1
id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # check <what> <command...>
    what=$1
    shift
    if "$@" > "$work/out" 2>&1; then
        echo "PASS   : $what"
    else
        echo "FAIL!  : $what"
        sed 's/^/         /' "$work/out"
        failures=$((failures + 1))
    fi
}

prefix="$work/prefix"
check "cmake --install" cmake --install "$build" --prefix "$prefix"
check "program installed" test -x "$prefix/bin/quirevale"
check "thumbnailer installed" test -x "$prefix/bin/quirevale-thumbnailer"
check "thumbnailer entry for comic archives, not every ZIP" \
    grep -qx "MimeType=application/vnd.comicbook+zip;application/x-cbz;application/vnd.comicbook-rar;application/x-cbr;application/x-cb7;application/x-cbt;" \
    "$prefix/share/thumbnailers/quirevale.thumbnailer"
check "desktop entry valid" desktop-file-validate "$prefix/share/applications/$id.desktop"
check "desktop entry names its icon" grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop"
check "metainfo valid" appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
check "metainfo launches the entry" grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$prefix/share/metainfo/$id.metainfo.xml"
check "32x32 icon" test -s "$prefix/share/icons/hicolor/32x32/apps/$id.png"
check "scalable icon" test -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
# The watch's user service, as systemd reads it: an instance of it, started
# from this prefix's program (systemd checks that it can run it).
unit="$prefix/lib/systemd/user/quirevale-watch@.service"
check "watch service installed" test -s "$unit"
mkdir -p "$work/units" "$work/runtime"
chmod 700 "$work/runtime"
sed "s|^ExecStart=[^ ]*|ExecStart=$prefix/bin/quirevale-cli|" "$unit" \
    > "$work/units/quirevale-watch@home-reader-Comics.service"
if command -v systemd-analyze > /dev/null; then
    check "watch service verified" env XDG_RUNTIME_DIR="$work/runtime" \
        systemd-analyze verify --user "$work/units/quirevale-watch@home-reader-Comics.service"
else
    check "systemd-analyze installed (tools/setup test installs systemd)" false
fi

touch "$work/plain file"
refused() {
    ! cmake --install "$build" --prefix "$work/plain file/prefix" > "$work/refusal" 2>&1 \
        && grep -q "cannot be installed into" "$work/refusal" \
        && [ ! -e "$work/plain file/prefix" ]
}
check "unwritable prefix refused with a clear message" refused

if [ "$failures" -eq 0 ]; then
    echo "Totals: all passed"
    exit 0
fi
echo "Totals: $failures failed"
exit 1
