#!/usr/bin/env bash
# The Debian package of a build, checked as a shop owner's machine would get
# it: made with the build's own CPack set-up, unpacked into a throw-away root,
# its files, control fields and desktop entry checked, and the unpacked
# program started off screen for a user whose data is in the desktop's
# per-user folder, until it has opened the files and shown its window.
#
#   check_package.sh BUILD_DIR VERSION
set -uo pipefail

build=$1
version=$2
work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() { # check NAME COMMAND...
    local name=$1
    shift
    if "$@"; then
        echo "PASS   : $name"
        passed=$((passed + 1))
    else
        echo "FAIL!  : $name"
        failed=$((failed + 1))
    fi
}
finish() {
    echo "Totals: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    check "cpack makes the package" false
    finish
fi
deb="$work/out/pelmar_${version}_amd64.deb"
check "the package is named pelmar_${version}_amd64.deb" test -f "$deb"
[ -f "$deb" ] || finish

field() { dpkg-deb -f "$deb" "$1"; }
check "control: package pelmar" test "$(field Package)" = pelmar
check "control: version $version" test "$(field Version)" = "$version"
check "control: architecture amd64" test "$(field Architecture)" = amd64
depends=$(field Depends)
for needed in libqt6widgets6 libqt6sql6 libqt6printsupport6 libqt6sql6-sqlite qt6-qpa-plugins \
    fonts-ipafont-gothic fonts-ipafont-mincho; do
    check "control: depends on $needed" grep -Eq "(^|, )$needed( |,|$)" <<<"$depends"
done

root="$work/root"
check "dpkg -x unpacks it" dpkg -x "$deb" "$root"

# Exactly these files: no test, benchmark, tool or data file of the build.
expected="usr/bin/pelmar
usr/bin/pelmar-newdata
usr/share/applications/pelmar.desktop
usr/share/icons/hicolor/128x128/apps/pelmar.png
usr/share/icons/hicolor/16x16/apps/pelmar.png
usr/share/icons/hicolor/24x24/apps/pelmar.png
usr/share/icons/hicolor/256x256/apps/pelmar.png
usr/share/icons/hicolor/32x32/apps/pelmar.png
usr/share/icons/hicolor/48x48/apps/pelmar.png
usr/share/icons/hicolor/64x64/apps/pelmar.png
usr/share/icons/hicolor/scalable/apps/pelmar.svg
usr/share/doc/pelmar/README.md
usr/share/pelmar/help/pelmar-support.html
usr/share/pelmar/help/screenshots/employees.png
usr/share/pelmar/help/screenshots/hint.png
usr/share/pelmar/help/screenshots/history.png
usr/share/pelmar/help/screenshots/ledger.png
usr/share/pelmar/help/screenshots/patterns.png
usr/share/pelmar/help/screenshots/premium-settings.png
usr/share/pelmar/help/screenshots/premium-statement.png
usr/share/pelmar/help/screenshots/settings.png
usr/share/pelmar/help/screenshots/slip.png
usr/share/pelmar/help/screenshots/statement.png
usr/share/pelmar/help/screenshots/summary.png"
actual=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if ! check "the package holds exactly the program's files" test "$actual" = "$(LC_ALL=C sort <<<"$expected")"; then
    diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual")
fi
for program in pelmar pelmar-newdata; do
    check "$program is executable" test -x "$root/usr/bin/$program"
    check "$program finds every library" bash -c "! ldd '$root/usr/bin/$program' | grep -q 'not found'"
done
for size in 16 24 32 48 64 128 256; do
    check "the ${size}x${size} icon is ${size} pixels wide" \
        bash -c "file '$root/usr/share/icons/hicolor/${size}x${size}/apps/pelmar.png' | grep -q 'PNG image data, $size x $size'"
done

# The desktop entry: valid, names in English and Japanese, in Office and
# Finance, and pointing at what the package installs.
desktop="$root/usr/share/applications/pelmar.desktop"
check "desktop-file-validate accepts the entry" desktop-file-validate "$desktop"
entry() { sed -n "s/^$1=//p" "$desktop"; }
check "the entry has an English name" test -n "$(entry Name)"
check "the entry has a Japanese name" test -n "$(entry 'Name\[ja\]')"
check "the entry is in Office and Finance" test "$(entry Categories)" = "Office;Finance;"
exec_command=$(entry Exec | awk '{print $1}')
check "the entry's command is the installed program" test -x "$root/usr/bin/$exec_command"
check "the entry's icon is installed" test -f "$root/usr/share/icons/hicolor/scalable/apps/$(entry Icon).svg"

# The help page: every picture it shows is in the package beside it.
help="$root/usr/share/pelmar/help"
images=$(grep -o 'src="[^"]*"' "$help/pelmar-support.html" | sed 's/^src="//; s/"$//')
check "the help page shows pictures" test -n "$images"
for image in $images; do
    check "the help page's $image is installed" test -s "$help/$image"
done

# The documents: the README, and the help page through the one link of the
# package, which leads to the copy the program opens.
doc="$root/usr/share/doc/pelmar"
check "the README is in the package's documents" cmp -s "$doc/README.md" "$(dirname "$0")/../../README.md"
check "the package's only link is the documents' help" \
    test "$(cd "$root" && find . -type l | sed 's|^\./||')" = usr/share/doc/pelmar/help
check "the documents' help is the installed help page" \
    test "$(readlink -f "$doc/help/pelmar-support.html")" = "$(readlink -f "$help/pelmar-support.html")"

# The unpacked program, started off screen by a user whose data the
# installed pelmar-newdata made in the desktop's per-user folder. Once the
# window shows, the program takes the day's first backup in that folder: the
# sign that it chose the folder, opened both files and is up.
home="$work/home"
mkdir -p "$home"
data="$home/.local/share/Pelmar"
check "pelmar-newdata makes the user's data" \
    env -u XDG_DATA_HOME HOME="$home" "$root/usr/bin/pelmar-newdata" "$data" >/dev/null
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_DATA_DIRS -u DISPLAY -u WAYLAND_DISPLAY \
    HOME="$home" QT_QPA_PLATFORM=offscreen "$root/usr/bin/$exec_command" >"$work/run.log" 2>&1 &
pid=$!
for _ in $(seq 1 600); do
    compgen -G "$data/backup/Pelmar-*-daily.mdb" >/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
check "the installed program runs on the user's data" kill -0 "$pid"
check "the installed program opened the data and showed its window" \
    bash -c "compgen -G '$data/backup/Pelmar-*-daily.mdb' >/dev/null"
check "nothing is made beside the installed program" test ! -e "$root/usr/bin/data"
if [ "$failed" -ne 0 ]; then
    cat "$work/run.log"
fi
finish
