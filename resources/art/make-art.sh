#!/usr/bin/env bash
# Redraws the artwork PNGs beside this script with ImageMagick 6. The build reads only the
# PNGs (cmake/pixeltables.cmake); run this after changing a drawing and commit its output.
#
# Every picture is drawn eight times larger without anti-aliasing and then box-averaged
# down, which gives each pixel its exact share of a shape: edges that sit on whole pixels
# stay crisp and curves come out smooth. Coordinates below are in pixels of the finished
# picture, measured at pixel edges, so "rectangle 3,3 4,4" is exactly the pixel (3, 3).
#
# Each picture is drawn twice from the same shapes: at its size (name.png) and at twice its
# size (name@2x.png), which the program uses from 150 % display scale on. Nothing is ever
# scaled from the small picture: the big one is drawn afresh, so its edges are as crisp.
set -euo pipefail
# Z is the zoom being drawn; coordinates below stay those of the 1x picture. Without one,
# the script runs itself once per zoom.
if [ -z "${ZOOM:-}" ]; then
  for z in 1 2; do ZOOM=$z bash "$(readlink -f "$0")"; done
  exit
fi
cd "$(dirname "$0")"
command -v convert >/dev/null || { echo "make-art: ImageMagick's convert is missing" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

Z=$ZOOM
S=8
AFF="affine $((S * Z)),0,0,$((S * Z)),-0.5,-0.5"

# Edge coordinate of the finished picture -> pixel-centre coordinate of the big canvas.
p() { awk -v v="$1" -v s=$((S * Z)) 'BEGIN { printf "%g", v * s - 0.5 }'; }

# Paint sources: a gradient running from c1 at (x0, y0) to c2 at (x1, y1), flat beyond.
lgrad() { echo "-define gradient:vector=$(p "$1"),$(p "$2"),$(p "$3"),$(p "$4") gradient:$5-$6"; }
# A round gradient from c1 at its centre to c2 at radius r.
rgrad() {
  local r; r=$(awk -v v="$3" -v s=$((S * Z)) 'BEGIN { printf "%g", v * s }')
  echo "-define gradient:center=$(p "$1"),$(p "$2") -define gradient:radii=$r,$r" \
    "radial-gradient:$4-$5"
}

# begin W H COLOUR: start a W x H picture.
begin() {
  CW=$(($1 * Z)) CH=$(($2 * Z)) BW=$(($1 * S * Z)) BH=$(($2 * S * Z))
  CANVAS=$tmp/canvas.miff
  convert -size "${BW}x${BH}" "xc:$3" "$CANVAS"
}

# paint SOURCE MVG...: lays SOURCE over the picture wherever the shapes of MVG are white.
paint() {
  local src=$1
  shift
  # shellcheck disable=SC2086 # SOURCE is a list of ImageMagick arguments
  convert -respect-parentheses "$CANVAS" \( -size "${BW}x${BH}" $src \) \
    \( -size "${BW}x${BH}" xc:black +antialias -fill white -stroke none -draw "$AFF $*" \) \
    -composite "$CANVAS"
}

# coverage FILE MVG...: how much of each finished pixel the shapes cover, white = all.
coverage() {
  local out=$1
  shift
  convert -size "${BW}x${BH}" xc:black +antialias -fill white -stroke none -draw "$AFF $*" \
    -scale "${CW}x${CH}" "$out"
}

# finish FILE: scales the picture down to its real size.
finish() { convert "$CANVAS" -scale "${CW}x${CH}" "$1"; }

# save OUT ARGS...: the pictures and joins (+append left to right, -append top to bottom)
# of ARGS, written as plain opaque 8-bit RGB; OUT gains "@2x" at zoom 2.
save() {
  local out=$1
  shift
  [ "$Z" = 1 ] || out=${out%.png}@${Z}x.png
  convert "$@" -alpha off -depth 8 -strip -define png:exclude-chunks=date,time "PNG24:$out"
}

rect_ring() { # x0 y0 x1 y1 r width: the ring just inside a rounded rectangle
  local w=$6
  echo "roundrectangle $1,$2 $3,$4 $5,$5 fill black roundrectangle" \
    "$(awk -v a="$1" -v w="$w" 'BEGIN{print a+w}'),$(awk -v a="$2" -v w="$w" 'BEGIN{print a+w}')" \
    "$(awk -v a="$3" -v w="$w" 'BEGIN{print a-w}'),$(awk -v a="$4" -v w="$w" 'BEGIN{print a-w}')" \
    "$(awk -v r="$5" -v w="$w" 'BEGIN{r-=w; if (r<1) r=1; print r","r}')"
}
circle() { echo "circle $1,$2 $1,$(awk -v y="$2" -v r="$3" 'BEGIN{print y-r}')"; }
# curve WIDTH X0,Y0 [C1X,C1Y C2X,C2Y X,Y]...: a round-ended stroke along cubic Bezier
# segments, laid down as closely spaced discs (this ImageMagick strokes open paths with a
# stray closing edge).
curve() {
  awk -v args="$*" 'BEGIN {
    n = split(args, a, /[ ,]+/); r = a[1] / 2; x = a[2]; y = a[3]
    for (i = 4; i + 5 <= n; i += 6) {
      for (k = 0; k <= 400; k++) {
        t = k / 400; u = 1 - t
        px = u*u*u*x + 3*u*u*t*a[i] + 3*u*t*t*a[i+2] + t*t*t*a[i+4]
        py = u*u*u*y + 3*u*u*t*a[i+1] + 3*u*t*t*a[i+3] + t*t*t*a[i+5]
        printf "circle %.3f,%.3f %.3f,%.3f ", px, py, px + r, py
      }
      x = a[i+4]; y = a[i+5]
    }
  }'
}
seg() { curve "$1" "$2" "$2" "$3" "$3"; } # WIDTH X0,Y0 X1,Y1: a straight round-ended stroke

# --- Buttons -------------------------------------------------------------------------------
# 16 x 25 frames. The corners stay within columns 0-3 and 12-15 and nothing else changes
# from left to right but the focus dots, so the program can stretch column 8 into a button
# of any width.
BORDER="#003C74"
# rim OUTER-TOP OUTER-BOTTOM INNER-TOP INNER-BOTTOM: the two-pixel coloured rim just inside
# the border of the default and hot frames, each line shading from top to bottom.
rim() {
  paint "$(lgrad 0 1 0 24 "$1" "$2")" "$(rect_ring 1 1 15 24 2 2)"
  paint "$(lgrad 0 2 0 23 "$3" "$4")" "$(rect_ring 2 2 14 23 1 1)"
}
button() { # kind out
  begin 16 25 white
  local face_top="#FFFFFF" face_mid="#ECEBE6" shade1="#E3E1D8" shade2="#D6D0C5" border=$BORDER
  case $1 in
    pressed) face_top="#D1CEC4" face_mid="#EAE8E1" shade1="#F1F0EB" shade2="#F4F3EE" ;;
    disabled) border="#C9C7BA" ;;
  esac
  paint "xc:$border" "roundrectangle 0,0 16,25 3,3"
  if [ "$1" = disabled ]; then
    paint "xc:#F5F4EA" "roundrectangle 1,1 15,24 2,2"
  elif [ "$1" = pressed ]; then
    paint "$(lgrad 0 1 0 6 "$face_top" "$face_mid")" "roundrectangle 1,1 15,24 2,2"
    paint "$(lgrad 0 6 0 24 "$face_mid" "$shade2")" \
      "roundrectangle 1,1 15,24 2,2 fill black rectangle 0,0 16,6"
  else
    paint "$(lgrad 0 1 0 20 "$face_top" "$face_mid")" "roundrectangle 1,1 15,24 2,2"
    paint "$(lgrad 0 20 0 24 "$shade1" "$shade2")" \
      "roundrectangle 1,1 15,24 2,2 fill black rectangle 0,0 16,21"
  fi
  case $1 in
    default | focused)
      rim "#CEE3FC" "#6582D5" "#B8D2F5" "#7C9BE3" ;;
    hot)
      rim "#F9C660" "#E59700" "#FDDC96" "#F8B330" ;;
  esac
  if [ "$1" = focused ]; then
    # Dots on every other pixel, in step along all four sides, so that columns 8 and 9
    # can be repeated side by side without breaking the line.
    local dots="" x y
    for ((x = 3; x <= 12; x++)); do
      for y in 3 21; do (((x + y) % 2 == 0)) && dots+="rectangle $x,$y $((x + 1)),$((y + 1)) "; done
    done
    for ((y = 4; y <= 20; y++)); do
      for x in 3 12; do (((x + y) % 2 == 0)) && dots+="rectangle $x,$y $((x + 1)),$((y + 1)) "; done
    done
    paint "xc:#1E1E1E" "$dots"
  fi
  finish "$2"
}
for k in normal default focused pressed hot disabled; do button $k "$tmp/button-$k.miff"; done
convert "$tmp/button-focused.miff" -crop $((2 * Z))x$((25 * Z))+$((8 * Z))+0 +repage \
  "$tmp/button-tile.miff"
save buttonskin.png "$tmp"/button-{normal,default,focused,pressed,hot,disabled,tile}.miff +append

# --- Message box icons ---------------------------------------------------------------------
# 39 x 39: a grey bezel, a blue disc lit from the top left, a white symbol with a faint
# shadow so that it stands off the disc.
icon() { # OUT SYMBOL-MVG...
  local out=$1
  shift
  begin 39 39 white
  paint "$(lgrad 4 4 35 35 "#B4B4B4" "#7A7A7A")" "$(circle 19.5 19.5 19)"
  paint "$(lgrad 6 4 33 35 "#FBFBFB" "#B9B9B9")" "$(circle 19.5 19.5 18.2)"
  paint "$(lgrad 8 6 31 33 "#4A7CC8" "#0A2F78")" "$(circle 19.5 19.5 16.6)"
  paint "$(rgrad 14 12.5 24 "#79B8FF" "#0B46AE")" "$(circle 19.5 19.5 15.9)"
  paint "$(lgrad 0 4 0 19 "rgba(255,255,255,0.55)" "rgba(255,255,255,0.04)")" \
    "ellipse 19.5,11.5 12.5,8 0,360"
  paint "xc:rgba(4,28,82,0.45)" "translate 0.6,0.9 $*"
  paint "xc:#FFFFFF" "$*"
  finish "$out"
}

icon "$tmp/error.miff" "$(seg 3.8 13.8,13.8 25.2,25.2) $(seg 3.8 25.2,13.8 13.8,25.2)"
icon "$tmp/question.miff" "$(curve 3.4 14.6,15.4 14.6,12.4 16.8,10.6 19.6,10.6 22.5,10.6 24.5,12.5 \
  24.5,15 24.5,17.3 23,18.4 21.6,19.3 20.3,20.2 19.5,21 19.5,23) $(circle 19.5 27.6 2.1)"
icon "$tmp/info.miff" "$(circle 19.5 12 2.3) rectangle 18,16 21,28 rectangle 16,16 18,18" \
  "rectangle 16,27 23,29"
icon "$tmp/warning.miff" "polygon 17.3,11.5 21.7,11.5 20.7,24 18.3,24 $(circle 19.5 11.5 2.2)" \
  "$(circle 19.5 28 2.2)"
save erroricon.png "$tmp/error.miff"
save questionicon.png "$tmp/question.miff"
save infoicon.png "$tmp/info.miff"
save warningicon.png "$tmp/warning.miff"

# --- Check boxes ---------------------------------------------------------------------------
RIM="#1C5180"
GREY_RIM="#CAC8BB"
GREY_MARK="#B4B1A2"
tick() { # the classic three-pixel-thick tick, cols 3-9, rows 3-9
  local s="" x t
  for ((x = 3; x <= 9; x++)); do
    if ((x <= 5)); then t=$((x + 2)); else t=$((12 - x)); fi
    s+="rectangle $x,$t $((x + 1)),$((t + 3)) "
  done
  echo "$s"
}
box_inside() { # kind: the face inside a 13 x 13 box or radio, shaped by MVG in $2
  case $1 in
    normal) paint "$(lgrad 1 1 10 11 "#DEDED8" "#FFFFFF")" "$2" ;;
    hot) paint "$(lgrad 1 1 10 11 "#FFF0CF" "#F8B330")" "$2" ;;
    pressed) paint "$(lgrad 1 1 11 11 "#B0B0A7" "#F2F1EC")" "$2" ;;
    disabled) paint "xc:#FFFFFF" "$2" ;;
  esac
}
check() { # kind state out
  begin 13 13 white
  local rim=$RIM
  [ "$1" = disabled ] && rim=$GREY_RIM
  paint "xc:$rim" "rectangle 0,0 13,13"
  box_inside "$1" "rectangle 1,1 12,12"
  [ "$1" = hot ] && paint "$(lgrad 3 3 10 10 "#E3E3DE" "#FFFFFF")" "rectangle 3,3 10,10"
  case $2 in
    checked)
      case $1 in
        disabled) paint "xc:$GREY_MARK" "$(tick)" ;;
        *) paint "xc:#21A121" "$(tick)" ;;
      esac
      ;;
    grayed)
      case $1 in
        disabled) paint "xc:$GREY_RIM" "rectangle 3,3 10,10" ;;
        pressed) paint "$(lgrad 3 3 10 10 "#2F8F2B" "#1B6E18")" "rectangle 3,3 10,10" ;;
        *) paint "$(lgrad 3 3 10 10 "#B6EBAA" "#5CC04F")" "rectangle 3,3 10,10" ;;
      esac
      ;;
  esac
  finish "$3"
}
rows=()
for state in checked grayed unchecked; do
  for kind in normal hot pressed disabled; do
    check $kind $state "$tmp/check-$state-$kind.miff"
  done
  convert "$tmp"/check-$state-{normal,hot,pressed,disabled}.miff +append "$tmp/check-$state.miff"
  rows+=("$tmp/check-$state.miff")
done
save checkglyphs.png "${rows[@]}" -append

# --- Radio buttons -------------------------------------------------------------------------
# Pure red marks the pixels the program fills with the control's own background: all that
# lies wholly outside the circle, and the hole inside a disabled ring. Pixels that a shape
# only grazes are drawn on white like the rest, never on red.
radio() { # kind state out
  begin 13 13 white
  local rim=$RIM painted
  [ "$1" = disabled ] && rim=$GREY_RIM
  paint "xc:$rim" "$(circle 6.5 6.5 6.5)"
  painted="$(circle 6.5 6.5 6.5)"
  if [ "$1" = disabled ]; then
    paint "xc:#FFFFFF" "$(circle 6.5 6.5 5.3)"
    painted+=" fill black $(circle 6.5 6.5 5.3) fill white"
  else
    box_inside "$1" "$(circle 6.5 6.5 5.3)"
    [ "$1" = hot ] && paint "$(lgrad 3 3 10 10 "#E3E3DE" "#FFFFFF")" "$(circle 6.5 6.5 3.6)"
  fi
  if [ "$2" = selected ]; then
    case $1 in
      disabled) paint "xc:$GREY_MARK" "$(circle 6.5 6.5 2.5)" ;;
      *) paint "$(rgrad 5.6 5.4 3.2 "#6BE06A" "#1E9A1E")" "$(circle 6.5 6.5 2.5)" ;;
    esac
    painted+=" $(circle 6.5 6.5 2.5)"
  fi
  finish "$tmp/radio-glyph.miff"
  coverage "$tmp/radio-cover.miff" "$painted"
  # Red is kept out of the glyph itself, so that only the key pixels carry it.
  convert "$tmp/radio-glyph.miff" -depth 8 -fill "#FE0000" -opaque "#FF0000" \
    \( -size "${CW}x${CH}" xc:#FF0000 \) -swap 0,1 \
    \( "$tmp/radio-cover.miff" -threshold 0 \) -composite "$3"
}
rows=()
for state in selected unselected; do
  for kind in normal hot pressed disabled; do
    radio $kind $state "$tmp/radio-$state-$kind.miff"
  done
  convert "$tmp"/radio-$state-{normal,hot,pressed,disabled}.miff +append "$tmp/radio-$state.miff"
  rows+=("$tmp/radio-$state.miff")
done
save radioglyphs.png "${rows[@]}" -append

# --- Help badge ----------------------------------------------------------------------------
QMARK_SMALL="$(curve 2.3 9.9,10.4 9.9,8.5 11.1,7.3 12.7,7.3 14.4,7.3 15.6,8.5 15.6,10 15.6,11.4 \
  14.7,12 13.8,12.6 13,13.2 12.5,13.8 12.5,15) $(circle 12.5 17.9 1.4)"
badge() { # kind out
  begin 25 25 white
  case $1 in
    normal)
      paint "xc:#8C8C8C" "$(circle 12.5 12.5 10)"
      paint "$(rgrad 10 8.5 13 "#C9C9C9" "#8F8F8F")" "$(circle 12.5 12.5 9.2)" ;;
    hot)
      paint "xc:#1B4FA6" "$(circle 12.5 12.5 10)"
      paint "$(rgrad 10 8.5 13 "#7DB9FF" "#1D5FCB")" "$(circle 12.5 12.5 9.2)" ;;
    pressed)
      paint "xc:#0B2A66" "$(circle 12.5 12.5 10)"
      paint "$(rgrad 12.5 12.5 10 "#2F6FD4" "#15479E")" "$(circle 12.5 12.5 8.3)" ;;
    disabled)
      paint "xc:#D4D4D4" "$(circle 12.5 12.5 10)"
      paint "$(rgrad 10 8.5 13 "#EDEDED" "#D9D9D9")" "$(circle 12.5 12.5 9.2)" ;;
  esac
  [ "$1" = pressed ] || paint "$(lgrad 0 3 0 12 "rgba(255,255,255,0.45)" "rgba(255,255,255,0)")" \
    "ellipse 12.5,8 7,4.6 0,360"
  [ "$1" = disabled ] || paint "xc:rgba(0,20,60,0.35)" "translate 0.4,0.6 $QMARK_SMALL"
  paint "xc:#FFFFFF" "$QMARK_SMALL"
  finish "$2"
}
for k in normal hot pressed disabled; do badge $k "$tmp/help-$k.miff"; done
save helpstrip.png "$tmp"/help-{normal,hot,pressed,disabled}.miff -append

# --- Hint pictures -------------------------------------------------------------------------
begin 16 16 white
paint "xc:#1A4C9E" "$(circle 8 8 7.6)"
paint "$(rgrad 6 5 10 "#73B2FA" "#1D5CC4")" "$(circle 8 8 6.8)"
paint "xc:#FFFFFF" "rectangle 7,3 9,5 rectangle 7,6 9,12 rectangle 6,6 7,7 rectangle 6,11 10,12"
finish "$tmp/hintinfo.miff"
save hintinfo.png "$tmp/hintinfo.miff"

begin 16 16 white
# The inner triangle is the outer one moved half a pixel inwards, the border about one
# pixel wide all round.
paint "xc:#BD8A00" "stroke white stroke-width 1.2 stroke-linejoin round" \
  "polygon 8,1.6 14.9,14.4 1.1,14.4"
paint "$(lgrad 0 3 0 14 "#FFEB85" "#F5C300")" "polygon 8,2.65 14.06,13.9 1.94,13.9"
paint "xc:#000000" "rectangle 7,5 9,10 rectangle 7,11 9,13"
finish "$tmp/hintwarning.miff"
save hintwarning.png "$tmp/hintwarning.miff"

# --- Hint close button ---------------------------------------------------------------------
CROSS="$(seg 1.5 5.5,5.5 12.5,12.5) $(seg 1.5 12.5,5.5 5.5,12.5)"
closer() { # kind out
  begin 18 18 white
  case $1 in
    normal) paint "xc:#707070" "$CROSS" ;;
    hot)
      paint "xc:#A8281C" "roundrectangle 1,1 17,17 3,3"
      paint "$(lgrad 0 2 0 16 "#EE7A66" "#C8301F")" "roundrectangle 2,2 16,16 2,2"
      paint "xc:#FFFFFF" "$CROSS" ;;
    pressed)
      paint "xc:#7A160E" "roundrectangle 1,1 17,17 3,3"
      paint "$(lgrad 0 2 0 16 "#A8261A" "#C23A2A")" "roundrectangle 2,2 16,16 2,2"
      paint "xc:#FFFFFF" "$CROSS" ;;
    disabled) paint "xc:#C8C8C8" "$CROSS" ;;
  esac
  finish "$2"
}
for k in normal hot pressed disabled; do closer $k "$tmp/close-$k.miff"; done
save closestrip.png "$tmp"/close-{normal,hot,pressed,disabled}.miff -append

# --- Flags ---------------------------------------------------------------------------------
# 16 x 11 with a grey frame on rows 2-12 of a white 16 x 16 square; the flag itself fills
# the 14 x 9 inside (columns 1-14, rows 3-11).
flag() {
  begin 16 16 white
  paint "xc:#808080" "rectangle 0,2 16,13"
  paint "xc:#FFFFFF" "rectangle 1,3 15,12"
}
fl() { # SOURCE MVG...: paints shapes given relative to the flag's top-left inner pixel
  local src=$1
  shift
  paint "$src" "push graphic-context translate 1,3 $* pop graphic-context" \
    "fill black rectangle 0,0 16,3 rectangle 0,12 16,16 rectangle 0,0 1,16 rectangle 15,0 16,16"
}
flag
fl xc:#000000 "rectangle 0,0 14,3"
fl xc:#DD0000 "rectangle 0,3 14,6"
fl xc:#FFCE00 "rectangle 0,6 14,9"
finish "$tmp/flag-de.miff"

flag
fl xc:#012169 "rectangle 0,0 14,9"
fl xc:#FFFFFF "stroke white stroke-width 2 line -1,-0.643 15,9.643 line -1,9.643 15,-0.643"
# The red runs beside the middle of the white, turning round the centre.
fl xc:#C8102E "stroke white stroke-width 0.8 line -1,-0.243 7,4.9 line 7,4.1 15,9.243" \
  "line -1,10.043 7,4.9 line 7,4.1 15,-1.043"
fl xc:#FFFFFF "rectangle 5,0 9,9 rectangle 0,3 14,6"
fl xc:#C8102E "rectangle 6,0 8,9 rectangle 0,4 14,5"
finish "$tmp/flag-gb.miff"

flag
fl xc:#0055A4 "rectangle 0,0 5,9"
fl xc:#EF4135 "rectangle 9,0 14,9"
finish "$tmp/flag-fr.miff"

flag
fl xc:#C60B1E "rectangle 0,0 14,9"
fl xc:#FFC400 "rectangle 0,2 14,7"
finish "$tmp/flag-es.miff"

flag
fl xc:#009246 "rectangle 0,0 5,9"
fl xc:#CE2B37 "rectangle 9,0 14,9"
finish "$tmp/flag-it.miff"

save flags.png "$tmp"/flag-{de,gb,fr,es,it}.miff +append
