#!/usr/bin/env bash
# Builds media/flags/: one 48 x 36 PNG per country code of the game's country table, from the
# MIT-licensed "flag-icons" npm package, plus that package's licence text.
#
# The result is committed, so the build never needs the network; run this again only to
# refresh the pictures (needs npm and rsvg-convert from librsvg2-bin).
#
# A code that names the same place as a picture of the package uses that picture (UK is GB,
# TP is Timor-Leste, ZR is the Congo, ...). Reserved and historic codes that have no picture
# get a plain flag that shows the code, so every code of the table has a picture of the same
# size. Usage: scripts/make-flags.sh [output folder]
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="${1:-$ROOT/media/flags}"
W=48
H=36

CODES="AC AD AE AF AG AI AL AM AN AO AP AQ AR AS AT AU AW AX AZ BA BB BD BE BF BG BH BI BJ BL
BM BN BO BR BS BT BV BW BY BZ CA CB CC CD CF CG CH CI CK CL CM CN CO CP CR CS CU CV CX CY CZ
DE DG DJ DK DM DO DZ EA EC EE EG EH ER ES ET EU FI FJ FK FM FO FR FS FX GA GB GD GE GF GG GH
GI GL GM GN GP GQ GR GS GT GU GW GY HK HM HN HR HT HU HW IC ID IE IL IM IN IO IQ IR IS IT JE
JI JM JO JP KE KG KH KI KM KN KP KR KS KW KY KZ LA LB LC LI LK LR LS LT LU LV LY MA MB MC MD
MF MG MH MI MK ML MM MN MO MP MQ MR MS MT MU MV MW MX MY MZ NA NC NE NF NG NI NK NL NO NP NR
NT NU NZ OM PA PE PF PG PH PK PL PM PN PR PS PT PW PY QA RE RO RS RU RW SA SB SC SD SE SG SH
SI SJ SK SL SM SN SO SR ST SU SV SY SZ TA TC TD TF TG TH TJ TK TL TM TN TO TP TR TT TV TW TZ
UA UG UK UM US UY UZ VA VC VE VG VI VN VS VU WF WK WS XK YE YT YU ZA ZM ZR ZW"

# Codes whose place has a picture under another name in the package.
picture_name() {
  case "$1" in
    UK) echo gb ;;     # the United Kingdom under its second code
    AC) echo sh-ac ;;  # Ascension Island
    TA) echo sh-ta ;;  # Tristan da Cunha
    TP) echo tl ;;     # East Timor, now Timor-Leste
    FX) echo fr ;;     # Metropolitan France
    ZR) echo cd ;;     # Zaire, now the Democratic Republic of the Congo
    *) echo "$1" | tr 'A-Z' 'a-z' ;;
  esac
}

# A plain flag for a code without a picture: a muted field whose hue follows the code's
# letters (so neighbouring codes differ), a thin frame and the code in white.
plain_flag_svg() {
  local code="$1" a b hue
  a=$(printf '%d' "'${code:0:1}")
  b=$(printf '%d' "'${code:1:1}")
  hue=$(((a * 37 + b * 101) % 360))
  cat <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="640" height="480" viewBox="0 0 640 480">
  <defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="hsl($hue,35%,42%)"/><stop offset="1" stop-color="hsl($hue,35%,28%)"/>
  </linearGradient></defs>
  <rect width="640" height="480" fill="url(#g)"/>
  <rect x="16" y="16" width="608" height="448" fill="none" stroke="#ffffff" stroke-opacity="0.55" stroke-width="16"/>
  <text x="320" y="318" font-family="DejaVu Sans" font-weight="bold" font-size="250"
        text-anchor="middle" fill="#ffffff">$code</text>
</svg>
SVG
}

command -v rsvg-convert >/dev/null || { echo "make-flags: rsvg-convert is missing (librsvg2-bin)" >&2; exit 1; }
command -v npm >/dev/null || { echo "make-flags: npm is missing" >&2; exit 1; }

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
(cd "$WORK" && npm pack --silent flag-icons@7 >/dev/null && tar xzf flag-icons-*.tgz)
SRC="$WORK/package/flags/4x3"

mkdir -p "$OUT"
rm -f "$OUT"/*.png
count=0
plain=()
for code in $CODES; do
  name="$(picture_name "$code")"
  if [ -f "$SRC/$name.svg" ]; then
    svg="$SRC/$name.svg"
  else
    svg="$WORK/plain-$code.svg"
    plain_flag_svg "$code" >"$svg"
    plain+=("$code")
  fi
  rsvg-convert -w "$W" -h "$H" -o "$OUT/$code.png" "$svg"
  count=$((count + 1))
done

{
  echo "The country flags in this folder were converted to $W x $H PNG files from the"
  echo "flag-icons package $(node -p "require('$WORK/package/package.json').version" 2>/dev/null || echo) (https://github.com/lipis/flag-icons),"
  echo "published under the MIT licence below. Codes without a picture in that package"
  echo "(${plain[*]}) show a plain flag with the code, drawn by scripts/make-flags.sh."
  echo
  cat "$WORK/package/LICENSE"
} >"$OUT/LICENSE.txt"

echo "make-flags: $count flags in $OUT (${#plain[@]} plain)"
