#!/usr/bin/env bash
# Installs the build into a fresh DESTDIR and starts both programs from there: the command-line
# tool's version, the GUI offscreen on its default program folder under a fresh HOME, and the
# desktop entry and metainfo through their validators.
set -euo pipefail
export QT_QPA_PLATFORM=offscreen
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$root/dest/usr"

version=$("$usr/bin/dadaz" --version)
[ "$version" = "dadaz 5.3.138" ] || { echo "dadaz --version: $version"; exit 1; }
# Also on a console without a display.
gui_version=$(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/DADAzarEdizuda" --version)
[ "$gui_version" = "DADAzarEdizuda 5.3.138" ] || { echo "GUI --version: $gui_version"; exit 1; }

for f in share/applications/io.github.dadazaredizuda.DADAzarEdizuda.desktop \
         share/metainfo/io.github.dadazaredizuda.DADAzarEdizuda.metainfo.xml \
         share/icons/hicolor/scalable/apps/io.github.dadazaredizuda.DADAzarEdizuda.svg \
         share/icons/hicolor/48x48/apps/io.github.dadazaredizuda.DADAzarEdizuda.png \
         share/man/man1/dadaz.1.gz share/man/man1/DADAzarEdizuda.1.gz; do
    [ -s "$usr/$f" ] || { echo "not installed: $f"; exit 1; }
done
desktop-file-validate "$usr/share/applications/io.github.dadazaredizuda.DADAzarEdizuda.desktop"
appstreamcli validate --no-net --pedantic \
    "$usr/share/metainfo/io.github.dadazaredizuda.DADAzarEdizuda.metainfo.xml" >/dev/null

# The installed GUI makes its program folder in the user's data folder and runs there; a
# program folder given to it is used instead.
mkdir "$root/home" "$root/library"
env -u XDG_DATA_HOME HOME="$root/home" "$usr/bin/DADAzarEdizuda" \
    --program-folder "$root/library" --screenshots "$root/given" >/dev/null 2>&1 || {
    echo "installed GUI did not start on a given folder"; exit 1; }
[ ! -e "$root/home/.local/share/DADAzarEdizuda" ] || { echo "given folder not used"; exit 1; }
env -u XDG_DATA_HOME HOME="$root/home" \
    "$usr/bin/DADAzarEdizuda" --screenshots "$root/shots" >/dev/null 2>&1 || {
    echo "installed GUI did not start"; exit 1; }
[ -d "$root/home/.local/share/DADAzarEdizuda" ] || { echo "no user program folder"; exit 1; }
[ -s "$root/shots/mode-song-search.png" ] || { echo "GUI drew no window"; exit 1; }
echo "installed programs run"
