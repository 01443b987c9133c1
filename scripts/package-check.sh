#!/usr/bin/env bash
# Builds the Debian package, checks its files and dependencies, installs it with apt-get, starts the
# installed program offscreen the way its desktop entry does, and removes the package again.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_missing dpkg-dev

dir="$ROOT/build-pkg"
build_tree "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTTT_BUILD_TESTS=OFF
rm -f "$dir"/tictactoe3d_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tictactoe3d_*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
echo "$files" | grep -v '/$'
for f in ./usr/bin/tictactoe3d ./usr/share/tictactoe3d/kubix.dat ./usr/share/applications/org.tictactoe3d.game.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.tictactoe3d.game.svg ./usr/share/metainfo/org.tictactoe3d.game.metainfo.xml; do
    echo "$files" | grep -qx "$f" || { echo "missing from the package: $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for d in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation; do
    [[ "$depends" == *"$d"* ]] || { echo "the package does not depend on $d"; exit 1; }
done

export DEBIAN_FRONTEND=noninteractive
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null
desktop=/usr/share/applications/org.tictactoe3d.game.desktop
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
path_line=$(sed -n 's/^Path=//p' "$desktop")
echo "desktop entry: Exec=$exec_line Path=$path_line"
# The program runs until it is closed; still running after a few seconds with nothing on standard
# error means it loaded its data file and opened its window.
status=0
(cd "$path_line" && QT_QPA_PLATFORM=offscreen timeout 4 $exec_line 2>"$dir/run.err") || status=$?
"${sudo[@]}" apt-get remove -y -qq tictactoe3d >/dev/null
grep -v 'XDG_RUNTIME_DIR' "$dir/run.err" || true
if [ "$status" -ne 124 ] || grep -q "cannot start" "$dir/run.err"; then
    echo "the installed program did not reach its start-up state (exit $status)"
    exit 1
fi
echo "installed program started from $path_line and kept running until stopped"
