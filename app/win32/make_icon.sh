#!/usr/bin/env bash
# Writes the program's icon: one 32x32 image with alpha, a blue disc with a red cross.
# Usage: make_icon.sh OUTPUT.ico
set -euo pipefail

le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)); }
le32() { printf '%s%s' "$(le16 $(($1 & 65535)))" "$(le16 $((($1 >> 16) & 65535)))"; }

size=32
pixels=$((size * size * 4))
mask=$((size * 4))
header=$(printf '%s' "$(le16 0)$(le16 1)$(le16 1)")
entry=$(printf '\\x%02x\\x%02x\\x00\\x00%s%s%s%s' $size $size "$(le16 1)" "$(le16 32)" \
  "$(le32 $((40 + pixels + mask)))" "$(le32 22)")
# BITMAPINFOHEADER: the height counts the colour image and the mask.
info="$(le32 40)$(le32 $size)$(le32 $((size * 2)))$(le16 1)$(le16 32)$(le32 0)$(le32 $((pixels + mask)))"
info+="$(le32 0)$(le32 0)$(le32 0)$(le32 0)"

# Rows bottom-up, pixels as blue, green, red, alpha. Coordinates are doubled to stay integral.
image=""
for ((y = 0; y < size; y++)); do
  for ((x = 0; x < size; x++)); do
    dx=$((2 * x - size + 1)) dy=$((2 * y - size + 1))
    r2=$((dx * dx + dy * dy))
    ax=${dx#-} ay=${dy#-}
    if ((r2 > 961)); then
      image+='\x00\x00\x00\x00'
    elif ((r2 > 676)); then
      image+='\x80\x30\x10\xff'
    elif (((ax <= 5 || ay <= 5) && r2 < 400)); then
      image+='\x20\x20\xd0\xff'
    else
      image+='\xf7\xce\xa5\xff'
    fi
  done
done
andMask=$(printf '\\x00%.0s' $(seq $mask))

printf "$header$entry$info$image$andMask" >"$1"
