#!/bin/bash
# Consistency check of the language resources in resources/lang.
#
# For every language it verifies:
#   - the string table has the LANGUAGE of the language, exactly the message
#     numbers of the English table, each at string base + 1000 + n, with a
#     non-empty text and the same format placeholders and line breaks (%d,
#     %.2f, %s, \n, ...) as English, and no lone "&";
#   - the menu script has the LANGUAGE of the language, defines the main,
#     context and editor menus under the language's resource ids, with the
#     same structure and command ids as English, non-empty texts, and the
#     resolution texts unchanged;
#   - languages.rc includes every file.
# When i686-w64-mingw32-windres is available, languages.rc is also compiled.
#
# Usage: tools/check-languages.sh [repository root]
# Exit status 0 when everything is consistent, 1 otherwise.

set -u

root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
lang="$root/resources/lang"
ids="$lang/menu_ids.h"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

errors=0
fail() {
    echo "error: $*" >&2
    errors=$((errors + 1))
}

# suffix  strings file   LANGUAGE    first id  main ctx editor
table="
sc strings_sc.rc  0x04,0x02  3000  231 263 167
tc strings_tc.rc  0x04,0x01  2000  275 273 308
en strings_enu.rc 0x09,0x01  1000  129 248 234
fr strings_fr.rc  0x0C,0x00  9000  276 265 316
ge strings_ge.rc  0x07,0x00  11000 277 266 315
ru strings_ru.rc  0x19,0x01  6000  282 271 310
pt strings_pt.rc  0x16,0x00  8000  279 268 311
sp strings_sp.rc  0x0A,0x00  7000  280 269 309
it strings_it.rc  0x10,0x00  10000 278 267 314
du strings_du.rc  0x13,0x00  12000 274 264 317
kr strings_kr.rc  0x12,0x01  5000  281 270 312
jp strings_jp.rc  0x11,0x01  4000  283 272 313
vn strings_vn.rc  0x2A,0x00  13000 284 285 286
"

# The LANGUAGE statement of a file, normalised to "0xPP,0xSS" (upper-case hex).
language_of() {
    grep -E '^[[:space:]]*LANGUAGE[[:space:]]' "$1" |
        sed -E 's/^[[:space:]]*LANGUAGE[[:space:]]+//; s/[[:space:]]//g; s/\r$//' |
        while IFS=, read -r p s; do printf '0x%02X,0x%02X\n' "$((p))" "$((s))"; done
}

# Messages of a string file as "n<TAB>text", n relative to the first id.
# Doubled quotes stay as written; only the text between the outer quotes is kept.
messages_of() {
    local file=$1 first=$2
    sed -E 's/\r$//' "$file" |
        awk -v first="$first" '
            /^[[:space:]]*[0-9]+[[:space:]]*,[[:space:]]*"/ {
                line = $0
                sub(/^[[:space:]]*/, "", line)
                id = line; sub(/[[:space:]]*,.*/, "", id)
                text = line; sub(/^[^"]*"/, "", text); sub(/"[[:space:]]*$/, "", text)
                printf "%d\t%d\t%s\n", id - first, id, text
            }'
}

# Per-message checks of one language against English, as one awk program.
# Input: English messages, then the language's messages ("n<TAB>id<TAB>text").
# Placeholders are the printf conversions and the \n and \t escapes of a text;
# the sorted lists must be equal.
check_messages='
function placeholders(s,    list, n, i, j, t, out) {
    n = 0
    while (match(s, /%[-+ #0]*[0-9*]*(\.[0-9*]+)?(hh|h|ll|l|L|I64|I32|I)?[diouxXeEfgGaAcCsSpn%]|\\[nt]/)) {
        list[++n] = substr(s, RSTART, RLENGTH)
        s = substr(s, RSTART + RLENGTH)
    }
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && list[j - 1] > list[j]; j--) {
            t = list[j]; list[j] = list[j - 1]; list[j - 1] = t
        }
    out = ""
    for (i = 1; i <= n; i++) out = out list[i] " "
    return out
}
FNR == NR { english[$1] = placeholders($3); next }
{
    n = $1 + 0; id = $2; text = $3
    if (n < 0 || n > 999) { printf "%s: id %s lies outside %d..%d\n", file, id, first, first + 999; next }
    if (text == "") printf "%s: message %d (id %s) is empty\n", file, n, id
    plain = text; gsub(/&&/, "", plain)
    if (index(plain, "&")) printf "%s: message %d has a lone \"&\" (write \"&&\" for an ampersand)\n", file, n
    if (n in english) {
        p = placeholders(text)
        if (p != english[n])
            printf "%s: message %d placeholders \"%s\" differ from English \"%s\"\n", file, n, p, english[n]
    }
}
'

# Value of a name in menu_ids.h.
id_value() {
    awk -v n="$1" '$1 == "#define" && $2 == n { print $3; exit }' "$ids"
}

# Structure of a menu script: one line per statement, texts left out, the
# language suffix of resource names replaced by "XX", comments dropped.
menu_structure_of() {
    sed -E 's/\r$//; s#//.*$##' "$1" |
        awk '
            /^[[:space:]]*IDR_MENU_[A-Z]+_[A-Z]+[[:space:]]+MENU/ {
                name = $1; sub(/_[A-Z]+$/, "_XX", name); print "MENU " name; next }
            /^[[:space:]]*POPUP[[:space:]]/ { print "POPUP"; next }
            /^[[:space:]]*MENUITEM[[:space:]]+SEPARATOR/ { print "SEPARATOR"; next }
            /^[[:space:]]*MENUITEM[[:space:]]/ {
                rest = $0; sub(/^[^"]*"/, "", rest)
                match(rest, /^([^"]|"")*"/)
                rest = substr(rest, RLENGTH + 1)
                gsub(/[[:space:]]/, "", rest); sub(/^,/, "", rest)
                print "ITEM " rest; next }
            /^[[:space:]]*BEGIN[[:space:]]*$/ { print "BEGIN"; next }
            /^[[:space:]]*END[[:space:]]*$/ { print "END"; next }'
}

# Texts of a menu script, one "kind<TAB>command<TAB>text" line per item.
menu_texts_of() {
    sed -E 's/\r$//; s#//.*$##' "$1" |
        awk '
            /^[[:space:]]*(POPUP|MENUITEM)[[:space:]]+"/ {
                kind = $1
                rest = $0; sub(/^[^"]*"/, "", rest)
                match(rest, /^([^"]|"")*"/)
                text = substr(rest, 1, RLENGTH - 1)
                cmd = substr(rest, RLENGTH + 1); gsub(/[[:space:],]/, " ", cmd)
                split(cmd, parts, " ")
                printf "%s\t%s\t%s\n", kind, (kind == "POPUP" ? "-" : parts[1]), text
            }'
}

[ -f "$ids" ] || fail "missing $ids"
[ -f "$lang/strings_enu.rc" ] || { fail "missing English string table"; exit 1; }
[ -f "$lang/menus_en.rc" ] || { fail "missing English menus"; exit 1; }

messages_of "$lang/strings_enu.rc" 1000 >"$tmp/en.msg"
cut -f1 "$tmp/en.msg" | sort -n >"$tmp/en.nums"
menu_structure_of "$lang/menus_en.rc" >"$tmp/en.menu"
menu_texts_of "$lang/menus_en.rc" | grep -E '	ID_RESOLUTION_' >"$tmp/en.res"

# The English numbering itself: 0..53 and 71..127, each once, then the program's own texts
# from 128 on, each once (each feature has a block of its own there, so blocks may be apart).
{ seq 0 53; seq 71 127; awk '$1 >= 128' "$tmp/en.nums" | sort -nu; } >"$tmp/expected.nums"
if ! diff -q "$tmp/expected.nums" "$tmp/en.nums" >/dev/null; then
    fail "English message numbers differ from 0..53, 71..127 and unique numbers from 128:"
    diff "$tmp/expected.nums" "$tmp/en.nums" | grep '^[<>]' | sed 's/^/    /' >&2
fi

while read -r sfx sfile langid first main ctx editor; do
    [ -n "$sfx" ] || continue
    up=$(tr a-z A-Z <<<"$sfx")
    strings="$lang/$sfile"
    menus="$lang/menus_$sfx.rc"

    # String table.
    if [ ! -f "$strings" ]; then
        fail "$sfx: missing $sfile"
    else
        got=$(language_of "$strings")
        [ "$got" = "$langid" ] || fail "$sfile: LANGUAGE is '${got:-none}', expected $langid"
        messages_of "$strings" "$first" >"$tmp/$sfx.msg"
        cut -f1 "$tmp/$sfx.msg" | sort -n >"$tmp/$sfx.nums"
        if ! diff -q "$tmp/en.nums" "$tmp/$sfx.nums" >/dev/null; then
            fail "$sfile: message numbers differ from English (< English only, > $sfx only):"
            diff "$tmp/en.nums" "$tmp/$sfx.nums" | grep '^[<>]' | sed 's/^/    /' >&2
        fi
        dups=$(cut -f1 "$tmp/$sfx.msg" | sort -n | uniq -d | tr '\n' ' ')
        [ -z "$dups" ] || fail "$sfile: messages defined twice: $dups"
        awk -F'\t' -v file="$sfile" -v first="$first" "$check_messages" \
            "$tmp/en.msg" "$tmp/$sfx.msg" >"$tmp/$sfx.problems"
        while IFS= read -r line; do fail "$line"; done <"$tmp/$sfx.problems"
    fi

    # Menus.
    if [ ! -f "$menus" ]; then
        fail "$sfx: missing menus_$sfx.rc"
        continue
    fi
    got=$(language_of "$menus")
    [ "$got" = "$langid" ] || fail "menus_$sfx.rc: LANGUAGE is '${got:-none}', expected $langid"
    for pair in "MAIN:$main" "CONTEXT:$ctx" "EDITOR:$editor"; do
        kind=${pair%%:*}
        want=${pair#*:}
        name="IDR_MENU_${kind}_${up}"
        grep -qE "^[[:space:]]*$name[[:space:]]+MENU" "$menus" ||
            fail "menus_$sfx.rc: no $name MENU"
        value=$(id_value "$name")
        [ "$value" = "$want" ] || fail "menu_ids.h: $name is '${value:-undefined}', expected $want"
    done
    menu_structure_of "$menus" >"$tmp/$sfx.menu"
    if ! diff -q "$tmp/en.menu" "$tmp/$sfx.menu" >/dev/null; then
        fail "menus_$sfx.rc: structure or command ids differ from English:"
        diff "$tmp/en.menu" "$tmp/$sfx.menu" | grep '^[<>]' | sed 's/^/    /' >&2
    fi
    menu_texts_of "$menus" >"$tmp/$sfx.texts"
    while IFS=$'\t' read -r kind cmd text; do
        [ -n "$text" ] || fail "menus_$sfx.rc: empty text for $kind $cmd"
        if grep -qE '&' <<<"${text//&&/}"; then
            fail "menus_$sfx.rc: '$text' has a lone '&' (write '&&' for an ampersand)"
        fi
    done <"$tmp/$sfx.texts"
    grep -E '	ID_RESOLUTION_' "$tmp/$sfx.texts" >"$tmp/$sfx.res"
    diff -q "$tmp/en.res" "$tmp/$sfx.res" >/dev/null ||
        fail "menus_$sfx.rc: resolution texts differ from English"

    # Every command name must be defined in menu_ids.h.
    grep '^ITEM ' "$tmp/$sfx.menu" | sed -E 's/^ITEM //; s/,.*$//' | sort -u |
        while read -r cmd; do
            [ -n "$(id_value "$cmd")" ] || echo "$cmd"
        done >"$tmp/$sfx.undefined"
    [ -s "$tmp/$sfx.undefined" ] &&
        fail "menus_$sfx.rc: command ids not defined in menu_ids.h: $(tr '\n' ' ' <"$tmp/$sfx.undefined")"

    # languages.rc includes both files.
    for f in "$sfile" "menus_$sfx.rc"; do
        grep -qE "^#include[[:space:]]+\"lang/$f\"" "$lang/languages.rc" ||
            fail "languages.rc does not include lang/$f"
    done
done <<<"$table"

# String ids must not collide across languages (each language owns its range).
cat "$lang"/strings_*.rc | sed -nE 's/^[[:space:]]*([0-9]+)[[:space:]]*,[[:space:]]*".*/\1/p' |
    sort -n | uniq -d >"$tmp/dup.ids"
[ -s "$tmp/dup.ids" ] && fail "string ids defined more than once: $(tr '\n' ' ' <"$tmp/dup.ids")"

if command -v i686-w64-mingw32-windres >/dev/null 2>&1; then
    if ! i686-w64-mingw32-windres -c 65001 -I "$root/resources" \
        -i "$lang/languages.rc" -o "$tmp/lang.res" 2>"$tmp/windres.log"; then
        fail "languages.rc does not compile:"
        sed 's/^/    /' "$tmp/windres.log" >&2
    fi
else
    echo "note: i686-w64-mingw32-windres not found, compile step skipped"
fi

if [ "$errors" -ne 0 ]; then
    echo "check-languages: $errors error(s)" >&2
    exit 1
fi
echo "check-languages: 13 languages, $(wc -l <"$tmp/en.nums") messages and $(grep -c '^ITEM ' "$tmp/en.menu") menu items each: consistent"
