# The environment every Wine call of the Windows build and its tests shares. Sourced, not run.
# MORVANE_WINE_DIR holds the locale, the template prefix and the test prefix.
_morvane_source_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export MORVANE_WINE_DIR="${MORVANE_WINE_DIR:-$_morvane_source_root/build/mingw/wine}"
export MORVANE_WINE_TEMPLATE="$MORVANE_WINE_DIR/template"
export WINEPREFIX="${MORVANE_WINEPREFIX:-$MORVANE_WINE_DIR/prefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko: their install dialogs would wait for a click that never comes.
export WINEDLLOVERRIDES="mscoree,mshtml="
# A generated zh_CN.UTF-8 locale gives code page 936 and keeps GBK file names working; LC_ALL
# alone would give 936 but break them.
export LOCPATH="$MORVANE_WINE_DIR/locale"
export LANG=zh_CN.UTF-8
unset LC_ALL
