#!/usr/bin/env bash
# po/solvane.pot holds exactly the texts the card's sources mark, and every
# po/<language>.po translates each of them, nothing left out or fuzzy.
set -euo pipefail
source_dir=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

bash "$source_dir/scripts/update-catalogs" --pot "$tmp/solvane.pot"
diff -u "$source_dir/po/solvane.pot" "$tmp/solvane.pot" ||
  { echo "po/solvane.pot is out of date: run scripts/update-catalogs"; exit 1; }

failed=0
for po in "$source_dir"/po/*.po; do
  name=$(basename "$po")
  if ! msgcmp "$po" "$tmp/solvane.pot" 2>"$tmp/msgcmp.log"; then
    echo "$name lacks texts:"; cat "$tmp/msgcmp.log"; failed=1; continue
  fi
  stats=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1)
  if [[ $stats =~ (untranslated|fuzzy) ]]; then echo "$name: $stats"; failed=1; fi
done
[ "$failed" = 0 ] && echo "ok: $(ls "$source_dir"/po/*.po | wc -l) catalogs cover the template"
