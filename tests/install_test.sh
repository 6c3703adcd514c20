#!/usr/bin/env bash
# The game as a player gets it: installed into a staging folder, its data
# folder read-only, a fresh home. The installed runner plays, saves, loads and
# writes a bonus page, all into the player's own folder; the installed checker
# passes the installed data; the desktop entry and metainfo validate; the
# installed window opens once.
#   install_test.sh BUILD
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
stage=$work/stage
home=$work/home
mkdir -p "$home"

fail() {
  echo "install test: $*" >&2
  exit 1
}

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
touch "$work/installed"
bin=$stage/usr/games
share=$stage/usr/share
data=$share/games/kiravel/
chmod -R a-w "$data"

# Root may write anywhere: the player is played by nobody.
as_player=(env HOME="$home" XDG_DATA_HOME= XDG_CONFIG_HOME= KIRAVEL_DATA=)
if [[ $(id -u) -eq 0 ]]; then
  chown nobody "$home"
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups "${as_player[@]}")
fi
player=$home/.local/share/kiravel

play() {
  "${as_player[@]}" "$bin/kiravel-run" --seed 7 2>"$work/err.txt" || fail "kiravel-run failed: $(cat "$work/err.txt")"
}

# A hard game, saved and loaded at the tavern of the first town.
out=$(printf '%s\n' 'click ComStt(1)' 'click ComSkep' 'click Com(3)' \
  'menu menu_sis_c(0)' 'menu menu_sis_c(1)' | play)
saves=$player/txt/save/
grep -qF "\"text\":\"SAVE　OK\\r\\n$saves\"" <<<"$out" || fail "no save in $saves: $out"
grep -qF '"text":"Load　OK"' <<<"$out" || fail "no load: $out"
for file in mati you irai save; do
  [[ -f $saves$file.dat ]] || fail "missing $saves$file.dat"
done
grep -qF "the save and the bonus pages go to $player/" "$work/err.txt" ||
  fail "the runner does not name the player's folder: $(cat "$work/err.txt")"

# The saved game, moved to the last scene of the fire story: every town of
# water, whose own story is done, so it offers the fire story's next scene;
# fire strong enough, eight fire scenes seen. Loading it offers the scene,
# which ends in the bonus page.
"${as_player[@]}" sed -i 's/,[0-9]*\r$/,2\r/' "$saves/mati.dat"
"${as_player[@]}" sed -i '5s/.*/ 1000 \r/;10s/.*/ 8 \r/;12s/.*/ 6 \r/' "$saves/save.dat"
scene=('click ComStt(2)' 'click Com(0)')
for _ in $(seq 40); do scene+=('click Lbl'); done
out=$(printf '%s\n' "${scene[@]}" | play)
page="$player/火の章＿おまけ.html"
[[ -f $page ]] || fail "no bonus page at $page: $out"
[[ -f $player/img/08.dat && -f $player/img/09_2.dat ]] || fail "the page's ./img/ does not reach the pictures"
[[ -z $(find "$data" -newer "$work/installed" -print -quit) ]] || fail "something was written into $data"

"${as_player[@]}" "$bin/kiravel-check" || fail "the installed data does not pass kiravel-check"
"$bin/kiravel-run" --version | grep -q '^kiravel-run [0-9]' || fail "no version"

desktop-file-validate "$share/applications/org.kiravel.Kiravel.desktop"
# The desktop starts the installed program whatever the player's PATH holds.
grep -qx 'Exec=/usr/games/kiravel' "$share/applications/org.kiravel.Kiravel.desktop" ||
  fail "the desktop entry does not name /usr/games/kiravel: $(grep '^Exec' "$share/applications/org.kiravel.Kiravel.desktop")"
# The version box names the home page the metainfo names.
homepage=$(sed -n 's:.*<url type="homepage">\(.*\)</url>.*:\1:p' "$share/metainfo/org.kiravel.Kiravel.metainfo.xml")
[[ -n $homepage ]] || fail "the metainfo names no home page"
out=$(printf '%s\n' 'click ComStt(0)' 'click ComSkep' 'click Com(3)' 'menu menu_ver' | play)
grep -qF "\\r\\n$homepage\"" <<<"$out" || fail "the version box names another home page than $homepage: $out"
appstreamcli validate --no-net "$share/metainfo/org.kiravel.Kiravel.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$share/metainfo/org.kiravel.Kiravel.metainfo.xml"
for size in 48x48 128x128 256x256; do
  [[ -f $share/icons/hicolor/$size/apps/org.kiravel.Kiravel.png ]] || fail "no $size icon"
done
[[ -f $share/icons/hicolor/scalable/apps/org.kiravel.Kiravel.svg ]] || fail "no scalable icon"
for page in man6/kiravel.6 man1/kiravel-run.1 man1/kiravel-check.1 man1/kiravel-textconv.1 man5/kiravel-data.5; do
  [[ -f $share/man/$page.gz ]] || fail "no manual page $page"
done
for guide in writing-stories.md writing-stories.ja.md; do
  [[ -f $share/doc/kiravel/$guide ]] || fail "no authors' guide $guide"
done
[[ -f $share/org.kde.syntax-highlighting/syntax/kiravel-script.xml ]] || fail "no syntax definition"

# An author takes a scene of the installed story out and puts it back.
"$bin/kiravel-textconv" --to-utf8 "$data/txt/opn.dat" "$work/opn.txt"
"$bin/kiravel-textconv" "$work/opn.txt" "$work/opn.dat"
cmp -s "$data/txt/opn.dat" "$work/opn.dat" || fail "the installed converter changes the opening on its way back"

# The installed window opens on the installed data: a missing picture or text
# would come up as a message box before the shot.
shots=$work/shots
mkdir -p "$shots"
chmod 777 "$shots"
printf '%s\n' 'wait 300' 'shot opened' 'close' >"$work/window.txt"
"${as_player[@]}" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
  timeout 60 "$bin/kiravel" --window --mute --play "$work/window.txt" --shots "$shots" 2>"$work/window.err" ||
  fail "the installed window failed: $(cat "$work/window.err")"
[[ -f $shots/opened.png ]] || fail "the window took no shot: $(cat "$work/window.err")"
[[ -z $(find "$shots" -name 'box-*') ]] || fail "the window showed a message: $(cat "$work/window.err")"
[[ -f $home/.config/kiravel/kiravel.conf ]] || fail "the window remembered nothing"
echo "install test: passed"
