#!/usr/bin/env bash
# Fails when the shipped .ts files are not what lupdate makes of the sources
# (a comfort's word added, changed or dropped without `ninja
# update_translations`), or when a word has no Japanese yet.
#   scripts/check-translations.sh LUPDATE
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
for ts in translations/mirel_*.ts; do
  cp "$ts" "$tmp/"
  "$lupdate" -silent -no-obsolete -locations none src/comfort src/platform/qt -ts "$tmp/${ts##*/}" >/dev/null 2>&1
  if ! diff -u "$ts" "$tmp/${ts##*/}"; then
    echo "$ts is not current: run ninja update_translations and translate what is new" >&2
    status=1
  fi
done
if grep -B2 'type="unfinished"' translations/mirel_ja.ts; then
  echo "translations/mirel_ja.ts: the words above have no Japanese yet (scripts/ja_words.py fills them in)" >&2
  status=1
fi
exit $status
