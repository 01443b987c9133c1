#!/usr/bin/env bash
# Builds the Debian package, checks its files and dependencies, runs the distribution's package
# checker (lintian: no error, no warning), installs it with apt-get, starts the installed program the
# way its desktop entry and each of its level actions do, and removes the package again.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_missing dpkg-dev lintian

dir="$ROOT/build-pkg"
# -O2: at -O3 GCC 12 warns falsely inside std::string (-Wrestrict); the binary is stripped either way.
build_tree "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games -DTTT_BUILD_TESTS=OFF
rm -f "$dir"/tictactoe3d_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/tictactoe3d_*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
echo "$files" | grep -v '/$'
data=./usr/share/tictactoe3d
for f in ./usr/games/tictactoe3d $data/kubix.dat $data/easy/kubix.dat $data/medium/kubix.dat \
    ./usr/share/applications/org.tictactoe3d.game.desktop ./usr/share/icons/hicolor/scalable/apps/org.tictactoe3d.game.svg \
    ./usr/share/metainfo/org.tictactoe3d.game.metainfo.xml ./usr/share/man/man6/tictactoe3d.6.gz \
    ./usr/share/doc/tictactoe3d/copyright ./usr/share/doc/tictactoe3d/changelog.gz; do
    echo "$files" | grep -qx "$f" || { echo "missing from the package: $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for d in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation; do
    [[ "$depends" == *"$d"* ]] || { echo "the package does not depend on $d"; exit 1; }
done

echo "== lintian"
# Any error or warning fails the check; run as root, lintian needs to be told that is intended.
lintian --allow-root --fail-on error,warning "$deb"
echo "lintian: no error, no warning"

export DEBIAN_FRONTEND=noninteractive
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null
trap '"${sudo[@]}" apt-get remove -y -qq tictactoe3d >/dev/null' EXIT
desktop=/usr/share/applications/org.tictactoe3d.game.desktop

# Starts a command line from the desktop entry in `folder` (empty: the command sets its own), and
# checks that the program is still running after a few seconds, with nothing on standard error and
# its working folder `expected`: it loaded that folder's kubix.dat and opened its window.
start() {
    local name=$1 folder=$2 expected=$3 line=$4 pid cwd
    (cd "${folder:-/}" && QT_QPA_PLATFORM=offscreen exec $line 2>"$dir/run.err") &
    pid=$!
    sleep 2
    cwd=$(readlink "/proc/$pid/cwd" || true)
    if ! kill "$pid" 2>/dev/null; then
        echo "$name: the program ended by itself"
        grep -v XDG_RUNTIME_DIR "$dir/run.err"
        exit 1
    fi
    wait "$pid" 2>/dev/null || true
    if grep -q "cannot start" "$dir/run.err" || [ "$cwd" != "$expected" ]; then
        echo "$name: did not reach its start-up state in $expected (working folder: $cwd)"
        exit 1
    fi
    echo "$name: '$line' started in $cwd and kept running until stopped"
}
exec_line=$(sed -n '0,/^Exec=/s/^Exec=//p' "$desktop")
path_line=$(sed -n 's/^Path=//p' "$desktop")
start "desktop entry" "$path_line" "$path_line" "$exec_line"
for level in easy medium hard; do
    line=$(sed -n "/^\[Desktop Action $level\]/,/^\[/s/^Exec=//p" "$desktop")
    expected=$path_line/$level
    [ "$level" = hard ] && expected=$path_line
    [ -n "$line" ] || { echo "the desktop entry has no action for $level"; exit 1; }
    start "action $level" "" "$expected" "$line"
done
