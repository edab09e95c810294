#!/usr/bin/env bash
# The Debian packages as a user gets them: built by CPack from this build tree, with the
# dependencies dpkg-shlibdeps finds, the desktop entry and AppStream data valid, no lintian error.
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "packages: $*" >&2; exit 1; }

desktop-file-validate "$source/data/desktop/org.vaskelio.vaskelio.desktop" | grep . \
    && fail "desktop-file-validate complains"
appstreamcli validate --no-net "$source/data/desktop/org.vaskelio.vaskelio.metainfo.xml" \
    || fail "appstreamcli validate complains"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) \
    || { cat "$work/cpack.log"; fail "cpack failed"; }
game=$(ls "$work"/vaskelio_*_*.deb)
share=$(ls "$work"/vaskelio-share_*_*.deb)

contents() { dpkg-deb -c "$1" | awk '{print $6}'; }
for f in ./usr/bin/vaskelio ./usr/bin/vaskelio-bank ./usr/share/vaskelio/lists.txt \
    ./usr/share/applications/org.vaskelio.vaskelio.desktop \
    ./usr/share/metainfo/org.vaskelio.vaskelio.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.vaskelio.vaskelio.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.vaskelio.vaskelio.png \
    ./usr/share/man/man6/vaskelio.6.gz ./usr/share/man/man1/vaskelio-bank.1.gz \
    ./usr/share/doc/vaskelio/copyright ./usr/share/doc/vaskelio/puzzles17-attribution.md; do
    contents "$game" | grep -qxF "$f" || fail "vaskelio lacks $f"
done
for f in ./usr/bin/vaskelio-share ./lib/systemd/system/vaskelio-share.service \
    ./usr/share/man/man8/vaskelio-share.8.gz ./usr/share/doc/vaskelio-share/copyright; do
    contents "$share" | grep -qxF "$f" || fail "vaskelio-share lacks $f"
done
contents "$share" | grep -q 'bin/vaskelio$' && fail "the game is in the service's package"

depends=$(dpkg-deb -f "$game" Depends)
# libzip, zstd, SQLite and libxml2 read what the import takes; dpkg-shlibdeps names them.
for d in libqt6widgets6 fonts-noto-cjk fonts-arphic-ukai qt6-translations-l10n \
    libzip4 libzstd1 libsqlite3-0 libxml2; do
    [[ $depends == *"$d"* ]] || fail "vaskelio does not depend on $d: $depends"
done
# Speech is loaded when used: its library is a dependency, speech-dispatcher and its voices
# recommendations, and the component lies in the library folder.
[[ $depends == *libqt6texttospeech6* ]] || fail "vaskelio does not depend on libqt6texttospeech6"
recommends=$(dpkg-deb -f "$game" Recommends)
for r in speech-dispatcher espeak-ng qt6-speech-speechd-plugin; do
    [[ $recommends == *"$r"* ]] || fail "vaskelio does not recommend $r: $recommends"
done
contents "$game" | grep -Eq 'lib/(.*/)?vaskelio/vaskelio-speech\.so$' || fail "vaskelio lacks its speech component"
[[ $(dpkg-deb -f "$share" Depends) == *libqt6widgets6* ]] && fail "the service needs no widgets"
[[ $(dpkg-deb -f "$share" Depends) == *adduser* ]] || fail "vaskelio-share does not depend on adduser"

# The service's maintainer scripts, as dpkg will run them: there, executable, the files of the
# tree, valid shell.
dpkg-deb -e "$share" "$work/control"
for script in postinst prerm postrm; do
    [ -x "$work/control/$script" ] || fail "vaskelio-share has no executable $script"
    cmp -s "$work/control/$script" "$source/packaging/debian/vaskelio-share/$script" ||
        fail "the package's $script is not the tree's"
    sh -n "$work/control/$script" || fail "$script: sh -n finds a syntax error"
done

if command -v lintian >/dev/null; then
    lintian --allow-root "$game" "$share" >"$work/lintian.log" 2>&1 || true
    if grep -q '^E:' "$work/lintian.log"; then
        cat "$work/lintian.log"
        fail "lintian reports errors"
    fi
    # Nothing at all about the maintainer scripts or the unit they handle.
    if grep -E '^[EWI]: vaskelio-share.*(maintainer-script|postinst|prerm|postrm|systemd|adduser|init-system)' \
        "$work/lintian.log"; then
        fail "lintian has something to say of the service's scripts"
    fi
fi
echo "packages: $(basename "$game") and $(basename "$share") are sound"
