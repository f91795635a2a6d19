#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop needs of
# it: the program, a valid desktop entry, the icons, valid AppStream metadata, the
# manual page, the catalogues; then builds the Debian package, reads its
# dependencies and has lintian judge it.
set -uo pipefail
build=$(cd "$1" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
passed=0
failed=0
check() {  # check NAME COMMAND...
    local name=$1
    shift
    if "$@" >"$stage/out" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $name"
        sed 's/^/    /' "$stage/out"
    fi
}

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
root=$stage/root/usr
# The version and id as the build knows them.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
id=$(sed -n 's/^#define QUORVEL_APP_ID "\(.*\)"$/\1/p' "$build/generated/app/Version.h")

check "the program is installed and says its version" \
    sh -c "'$root/bin/quorvelfilesearch' --version | grep -qx 'Quorvel File Search $version'"
check "the decoder helper is installed where the program looks, and confines itself" \
    sh -c "'$root/libexec/quorvel/quorvel-decoder' --probe-confinement | grep -qx 'open: Operation not permitted'"
check "the desktop entry is valid" desktop-file-validate "$root/share/applications/$id.desktop"
check "the desktop entry takes a folder" grep -qx 'Exec=quorvelfilesearch %f' "$root/share/applications/$id.desktop"
check "the desktop entry opens no folder for other programs (it claims no MIME type)" \
    sh -c "! grep -q '^MimeType=' '$root/share/applications/$id.desktop'"
entry=$root/share/applications/$id.desktop
for language in de es fr; do
    for key in Name GenericName Comment Keywords; do
        check "the desktop entry's $key in $language" grep -q "^$key\[$language\]=." "$entry"
    done
done
check "the desktop entry in German" grep -qx 'GenericName\[de\]=Dateisuche' "$entry"
check "the AppStream metadata is valid" appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml"
metainfo=$root/share/metainfo/$id.metainfo.xml
for language in de es fr; do
    check "the metadata's summary in $language" grep -q "<summary xml:lang=\"$language\">" "$metainfo"
    check "the metadata's description in $language" \
        sh -c "test \$(grep -c '<\(p\|li\) xml:lang=\"$language\">' '$metainfo') -ge 6"
done
check "the metadata in Spanish" grep -q '<summary xml:lang="es">Buscar archivos por nombre' "$metainfo"
check "the metadata names the release" grep -q "release version=\"$version\"" "$root/share/metainfo/$id.metainfo.xml"
check "the metadata has a screenshot" grep -q '<screenshot type="default">' "$root/share/metainfo/$id.metainfo.xml"
# Every compilation unit of our own was built with the stack-clash probes and
# the control-flow protection (the compiler records its options in the debug information).
for program in bin/quorvelfilesearch libexec/quorvel/quorvel-decoder; do
    check "$program is built with -fstack-clash-protection and -fcf-protection" sh -c "
        readelf -p .debug_str '$root/$program' | grep 'GNU C++' > '$stage/producers'
        test -s '$stage/producers' && ! grep -v -e '-fstack-clash-protection.*-fcf-protection' -e '-fcf-protection.*-fstack-clash-protection' '$stage/producers'"
done
check "the scalable icon" test -s "$root/share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 22 24 32 48 64 128 256; do
    png=$root/share/icons/hicolor/${size}x${size}/apps/$id.png
    # Width and height stand at bytes 16 to 23 of a PNG file.
    check "the ${size}px icon" test "$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null | tr -s ' ')" = \
        " 0 0 $((size / 256)) $((size % 256)) 0 0 $((size / 256)) $((size % 256))"
done
check "the catalogues are installed where the program looks" \
    sh -c "LANG=de_DE.UTF-8 LANGUAGE= LC_ALL= '$root/bin/quorvelfilesearch' --help | grep -q 'Beginnt sofort mit der Suche'"
check "English stays English" \
    sh -c "LANG=C LANGUAGE= LC_ALL= '$root/bin/quorvelfilesearch' --help | grep -q 'Starts the search at once'"
check "the manual page, compressed" sh -c "gzip -dc '$root/share/man/man1/quorvelfilesearch.1.gz' | grep -q '^\\.TH QUORVELFILESEARCH 1'"

if command -v cpack >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    (cd "$stage" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$stage/deb" >"$stage/cpack.log" 2>&1) || cat "$stage/cpack.log"
    deb=$(ls "$stage"/deb/*.deb 2>/dev/null | head -n 1)
    check "a Debian package is built" test -n "$deb"
    check "its dependencies come from the binary" sh -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"
    check "it installs the desktop entry" sh -c "dpkg-deb -c '$deb' | grep -q 'usr/share/applications/$id.desktop'"
    check "it installs the decoder helper" sh -c "dpkg-deb -c '$deb' | grep -q 'usr/libexec/quorvel/quorvel-decoder'"
    check "it recommends the Wayland platform" sh -c "dpkg-deb -f '$deb' Recommends | grep -q qt6-wayland"
    if command -v lintian >/dev/null; then
        check "lintian finds no error and no warning" lintian --pedantic --fail-on error,warning "$deb"
    else
        echo "SKIP: lintian is not installed"
    fi
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
