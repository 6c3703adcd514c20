#!/usr/bin/env bash
# The scripts' highlighting as Kate, KWrite, KDevelop and Qt Creator show it,
# through the framework's own command-line highlighter: the definition loads
# without a warning, no script of the authors' guide shows an error, and each
# fault kiravel-check reports on a line is marked as one.
#   syntax_definition_test.sh SOURCE
set -euo pipefail

source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
definition=$source_dir/editor/kiravel-script.xml

fail() {
  echo "syntax definition test: $*" >&2
  exit 1
}

xmllint --noout "$definition"
mkdir -p "$work/share/org.kde.syntax-highlighting/syntax" "$work/home"
cp "$definition" "$work/share/org.kde.syntax-highlighting/syntax/"
export XDG_DATA_DIRS=$work/share XDG_DATA_HOME=$work/home
known=$(kate-syntax-highlighter --list 2>"$work/errors")
grep -qx 'Kiravel Script' <<<"$known" || fail "the framework does not load it: $(cat "$work/errors")"
[[ ! -s $work/errors ]] || fail "the framework warns: $(cat "$work/errors")"

# The formats given to each line of FILE: "NUMBER: formats" a line.
formats() {
  kate-syntax-highlighter -s 'Kiravel Script' -b -f ansi --syntax-trace format "$1" 2>"$work/errors" |
    sed 's/\x1b\[[0-9;]*[mK]//g' |
    awk 'NR == FNR { source[FNR] = $0; lines = FNR; next }
      n < lines && $0 == source[n + 1] { if (n) print n ":" shown; n++; shown = ""; next }
      { gsub(/\|/, " "); shown = shown " " $0 }
      END { if (n) print n ":" shown }' "$1" - |
    tr -s ' '
  [[ ! -s $work/errors ]] || fail "the highlighter warns on $1: $(cat "$work/errors")"
}

# marked LINE... FORMAT: the last of the lines, after the others, is given
# FORMAT and no error (or, for the format Error, an error).
marked() {
  local format=${!#}
  local lines=("${@:1:$#-1}")
  printf '%s\n' "${lines[@]}" >"$work/sample.kiravel"
  local shown
  shown=$(formats "$work/sample.kiravel" | grep "^${#lines[@]}:")
  [[ $shown == *"$format"* ]] || fail "'${lines[-1]}' is not marked $format: $shown"
  [[ $format == Error || $shown != *Error* ]] || fail "'${lines[-1]}' is marked as an error: $shown"
}

marked '-- 3' Count
marked '--' Error
marked '--x' Error
marked '---m' Error
marked '>img 20' Picture
marked '>img' Command
marked '>img ../ttl' Error
marked '>img a:b' Error
marked '>p' Command
marked '>pause' Ignored
marked '>ive' 'Pause Mark'
marked 'テキスト-mです' 'Name Mark'
marked 'tugi だよ' Ignored
marked '>end' 'Scene End'
marked '>html 2,水の章,x' 'Page Name'
marked '>html' Error
marked '>html 2' Error
marked '>html 2,a/b' Error
marked '>html ..,page' Error
marked 'tugi' '続き' Error
marked '>end' '' '続き' Error
marked '>html 2,水の章' '続き' Error

# Every script of the guide, highlighted on its own, shows no error.
scripts=0
for guide in "$source_dir"/docs/writing-stories*.md; do
  rm -f "$work"/guide-*.kiravel
  awk -v folder="$work" '/^```kiravel txt\// { name = $2; gsub(/[\/.]/, "-", name);
      file = folder "/guide-" name ".kiravel"; next }
    /^```/ { file = ""; next }
    file != "" { print > file }' "$guide"
  for script in "$work"/guide-txt-*.kiravel; do
    if errors=$(formats "$script" | grep Error); then
      fail "$guide: $(basename "$script") shows an error: $errors"
    fi
    scripts=$((scripts + 1))
  done
done
((scripts >= 20)) || fail "only $scripts scripts found in the guides"
echo "syntax definition test: passed"
