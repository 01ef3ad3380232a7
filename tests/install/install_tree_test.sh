#!/usr/bin/env bash
# Installs a build into a temporary prefix and runs the installed programs from there, as a
# user of the installed copy would: tamo-cli reads the demo set's data files from its
# program folder, the editor opens the demo ROM given on its command line and writes its
# settings beside itself when closed; once the program folder is read-only, as a package
# installs it, both take the user's own data files first and the editor writes its
# settings into the user's folder; and the desktop finds the menu entry, its icon and the
# ROM file type. Arguments: the build folder, the menu entry's name, the folder of this
# script.
set -euo pipefail
build=$1
id=$2
here=$3

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
programs=$prefix/lib/tamo-editor

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs a command, which must print the text given.
prints() {
    local text=$1 output
    shift
    output=$("$@") || fail "$* failed"
    grep -qF -- "$text" <<< "$output" || fail "$* does not print $text"
}

# Runs a command, showing what it printed only when it fails.
quietly() {
    "$@" > "$work/log" 2>&1 || { cat "$work/log"; fail "$* failed"; }
}

install_build() {
    quietly cmake --install "$build" --prefix "$prefix"
}

# What the programs should find in their folder: the demo set as tamo-cli writes it.
"$build/tamo-cli" make-demo "$work/demo" > /dev/null
demo=$work/demo/demo.smc

install_build
for link in tamo-editor:TamoEditor tamo-cli:tamo-cli; do
    [ "$(readlink -f "$prefix/bin/${link%%:*}")" = "$programs/${link#*:}" ] || fail "bin/${link%%:*} does not lead to $programs/${link#*:}"
done
diff -r "$work/demo/Data" "$programs/Data" || fail "the program folder's Data/ is not the demo set's"
[ -d "$programs/Config" ] && [ -z "$(ls -A "$programs/Config")" ] || fail "the program folder has no empty Config/"

# Names that only the installed Data/offsets.ini and Data/sprite.ini hold.
prints '"chip_file": "Data/chip1.bmp"' "$prefix/bin/tamo-cli" info "$demo" 22
prints '"name": "Meadow 1"' "$prefix/bin/tamo-cli" stages
prints '"name": "Spring"' "$prefix/bin/tamo-cli" sprites "$demo" 22

# The editor started as the menu entry starts it, on the demo ROM, then closed.
entry=$prefix/share/applications/$id.desktop
command=$(sed -n 's/^Exec=\([^ ]*\) %f$/\1/p' "$entry")
[ -x "$prefix/bin/$command" ] || fail "the menu entry's command '$command' is not in bin/"
edit_demo() {
    # On the X server, as a desktop starts it, whatever platform the other GUI tests ask for.
    QT_QPA_PLATFORM=xcb LSAN_OPTIONS=suppressions=$here/lsan_suppressions.txt \
        xvfb-run -a -s "-screen 0 1280x800x24" "$here/editor_session.sh" "$prefix/bin/$command" "$demo" \
        || fail "the installed editor did not open and close"
}
edit_demo
settings=$programs/Config/application.ini
grep -qx "InitialDir=$work/demo/" "$settings" || fail "the editor did not open the ROM given to it or kept no settings beside itself"
grep -qx "Latest=22" "$settings" || fail "the editor kept no stage in its settings"

# A second install keeps the files a user put into Data/ and brings back the missing ones.
printf '[Level name]\n00=Our own stage\n' > "$programs/Data/offsets.ini"
rm "$programs/Data/mark.bmp"
install_build
grep -q 'Our own stage' "$programs/Data/offsets.ini" || fail "an install replaced the user's own Data/offsets.ini"
cmp -s "$work/demo/Data/mark.bmp" "$programs/Data/mark.bmp" || fail "an install did not bring back Data/mark.bmp"
grep -qx "Latest=22" "$settings" || fail "an install replaced Config/"

# The program folder as a package installs it, which its users cannot write to (nor root,
# once no write bit is left). Each user's files go below the user's home: the settings
# into ~/.config/tamo-editor/, and a data file there comes before the installed one.
cp "$settings" "$work/settings-before"
cp "$work/demo/Data/offsets.ini" "$programs/Data/offsets.ini"
chmod -R a-w "$programs"
user=$work/user
mkdir -p "$user/data/tamo-editor/Data"
sed 's/=Meadow 1\b/=Our own meadow/' "$work/demo/Data/offsets.ini" > "$user/data/tamo-editor/Data/offsets.ini"
as_user() (
    unset XDG_CONFIG_HOME
    export HOME=$user XDG_DATA_HOME=$user/data
    "$@"
)
prints '"name": "Our own meadow"' as_user "$prefix/bin/tamo-cli" stages
prints '"name": "Spring"' as_user "$prefix/bin/tamo-cli" sprites "$demo" 22
prints '"name": "Meadow 1"' as_user "$prefix/bin/tamo-cli" --home "$programs" stages
as_user edit_demo
user_settings=$user/.config/tamo-editor/application.ini
grep -qx "InitialDir=$work/demo/" "$user_settings" || fail "the editor kept no settings in the user's folder"
grep -qx "Latest=22" "$user_settings" || fail "the editor kept no stage in the user's folder"
cmp -s "$work/settings-before" "$settings" || fail "the editor changed the settings in the read-only program folder"
chmod -R u+w "$programs"

# Every icon is as large as its folder says, and the menu entry's icon has the size every
# desktop looks for.
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon named $icon"
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named $icon"
for png in "$prefix"/share/icons/hicolor/*x*/apps/"$icon".png; do
    folder=$(basename "$(dirname "$(dirname "$png")")")
    # The PNG header gives the width and the height as 32-bit big-endian numbers.
    size=$(od -An -j16 -N8 -tu1 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$size" = "$folder" ] || fail "$png is $size"
done
[ -f "$prefix/share/metainfo/$id.metainfo.xml" ] || fail "no AppStream metadata"

# *.smc and *.sfc files open in the editor: with the installed MIME type alone, and beside
# the system's own database.
quietly update-mime-database "$prefix/share/mime"
quietly update-desktop-database "$prefix/share/applications"
mkdir "$work/empty"
desktop() {
    XDG_DATA_DIRS=$1 XDG_DATA_HOME=$work/empty XDG_CONFIG_HOME=$work/empty XDG_CONFIG_DIRS=$work/empty \
        PATH="$prefix/bin:$PATH" "${@:2}"
}
for rom in game.smc game.sfc; do
    head -c 4096 "$demo" > "$work/$rom"
    prints "content-type: application/x-snes-rom" desktop "$prefix/share" gio info -a standard::content-type "$work/$rom"
    for dirs in "$prefix/share" "$prefix/share:/usr/share"; do
        type=$(desktop "$dirs" gio info -a standard::content-type "$work/$rom" | sed -n 's/^ *standard::content-type: //p')
        prints ": $id.desktop" desktop "$dirs" gio mime "$type"
    done
done
echo "The installed copy works."
