# Locale, template prefix and fresh test prefix. Sourced by the fixture scripts.

# The locale must exist before any wineserver starts, or the prefix gets code page 1252.
MorvaneEnsureLocale() {
  [ -d "$LOCPATH/zh_CN.UTF-8" ] && return
  mkdir -p "$LOCPATH"
  localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 ||
    [ -d "$LOCPATH/zh_CN.UTF-8" ]
}

MorvaneReg() {
  wine reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1
}

# Settings of every test prefix: CJK glyphs for "宋体", a virtual desktop (no window manager
# under Xvfb: no caption bar and a 2 s wait on every close otherwise), drawing optional.
MorvaneConfigure() {
  local fonts='HKCU\Software\Wine\Fonts\Replacements'
  MorvaneReg "$fonts" "SimSun" "WenQuanYi Zen Hei Sharp"
  MorvaneReg "$fonts" "宋体" "WenQuanYi Zen Hei Sharp"
  MorvaneReg 'HKCU\Software\Wine\Explorer' "Desktop" "Default"
  MorvaneReg 'HKCU\Software\Wine\Explorer\Desktops' "Default" "1024x768"
  MorvaneReg 'HKCU\Software\Wine\Drivers' "Graphics" "x11,null"
  # Drives of every other kind the all-drives walk must tell apart: R: is a RAM disk (walked),
  # S: a CD-ROM and T: (the build tree) a network drive (both reachable, neither walked).
  MorvaneReg 'HKLM\Software\Wine\Drives' "r:" "ramdisk"
  MorvaneReg 'HKLM\Software\Wine\Drives' "s:" "cdrom"
  MorvaneReg 'HKLM\Software\Wine\Drives' "t:" "network"
}

# Only a small C: to walk: Z: would be the whole Linux tree, and the user folders link to $HOME.
MorvaneLimitDrives() {
  local prefix="$1"
  rm -f "$prefix/dosdevices/z:"
  local link
  for link in "$prefix"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    rm -f "$link"
    mkdir -p "$link"
  done
}

MorvaneEnsureTemplate() {
  [ -f "$MORVANE_WINE_TEMPLATE/.ready" ] && return
  rm -rf "$MORVANE_WINE_TEMPLATE"
  mkdir -p "$(dirname "$MORVANE_WINE_TEMPLATE")"
  (
    export WINEPREFIX="$MORVANE_WINE_TEMPLATE"
    wineboot -i </dev/null >/dev/null 2>&1
    MorvaneConfigure
    wineserver -w
  )
  MorvaneLimitDrives "$MORVANE_WINE_TEMPLATE"
  touch "$MORVANE_WINE_TEMPLATE/.ready"
}

MorvaneFreshPrefix() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  cp -a "$MORVANE_WINE_TEMPLATE" "$WINEPREFIX"
  # The programs under test get drive paths (T:\bin\...) that other Windows programs accept.
  ln -s "$(cd "$MORVANE_WINE_DIR/.." && pwd)" "$WINEPREFIX/dosdevices/t:"
  local kind
  for kind in ramdisk cdrom; do
    mkdir -p "$WINEPREFIX/drives/$kind/folder"
    echo "$kind" >"$WINEPREFIX/drives/$kind/first.txt"
    echo "$kind" >"$WINEPREFIX/drives/$kind/folder/second.txt"
  done
  ln -s "$WINEPREFIX/drives/ramdisk" "$WINEPREFIX/dosdevices/r:"
  ln -s "$WINEPREFIX/drives/cdrom" "$WINEPREFIX/dosdevices/s:"
}

# A fresh prefix and one persistent, booted wineserver for it. Output to /dev/null: a server
# holding the caller's pipes would keep whoever reads them waiting.
MorvaneBootServer() {
  MorvaneEnsureLocale
  MorvaneEnsureTemplate
  MorvaneFreshPrefix
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
}
