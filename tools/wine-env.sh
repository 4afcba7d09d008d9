# Sourced by the Wine scripts: the Wine that runs a build tree, its private prefix inside the
# build tree and the prefix's one-time set-up.
# Expects ORVANE_BUILD (build/win32 or build/win64); sets ORVANE_WINE (the loader to start
# programs with: Debian's `wine` wrapper always picks the 32-bit one when it is installed),
# WINELOADER, WINEARCH, WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES.
: "${ORVANE_BUILD:?}"
ORVANE_WINE_ARCH=$(cat "$ORVANE_BUILD/wine-arch" 2>/dev/null || echo win32)
case $ORVANE_WINE_ARCH in
  win64) export ORVANE_WINE=/usr/lib/wine/wine64 WINEARCH=win64 ;;
  *) export ORVANE_WINE=/usr/lib/wine/wine WINEARCH=win32 ;;
esac
export WINELOADER=$ORVANE_WINE
export WINEPREFIX="${ORVANE_WINEPREFIX:-$ORVANE_BUILD/wineprefix}"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts; nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the prefix once (the marker names the version of these settings): no crash dialog, CJK-capable font replacements, and shell
# folders that are real folders inside the prefix (not links into the user's home).
orvane_prefix_ready() {
  [ -f "$WINEPREFIX/.orvane-ready-2" ] && return 0
  if ! "$ORVANE_WINE" --version >/dev/null 2>&1; then
    echo "wine-env: $ORVANE_WINE cannot start here; this machine cannot run the $ORVANE_WINE_ARCH build (see tools/windows-build.sh)" >&2
    return 1
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.orvane-ready-2" ] && exit 0
    "$ORVANE_WINE" wineboot -i >/dev/null 2>&1 || exit 1
    wineserver -w
    local user_dir
    for user_dir in "$WINEPREFIX"/drive_c/users/*/; do
      for link in "$user_dir"*; do
        [ -L "$link" ] || continue
        rm -f "$link" && mkdir -p "$link"
      done
    done
    local reg="$WINEPREFIX/orvane-prefix.reg"
    {
      printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
      for face in "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Arial" \
                  "Times New Roman" "Segoe UI" "SimSun" "MS UI Gothic" "Gulim" "PMingLiU" "MS Gothic"; do
        printf '"%s"="WenQuanYi Micro Hei"\n' "$face"
      done
      printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Audio"=""\n'
      # Without a window manager nobody draws the captions; let Wine draw them. Nor does anybody
      # manage the windows: unmanaged, Wine does not wait 2 s for a manager whenever a window goes.
      printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Decorated"="N"\n"Managed"="N"\n'
    } >"$reg"
    "$ORVANE_WINE" regedit "$reg" >/dev/null 2>&1 || exit 1
    wineserver -w
    touch "$WINEPREFIX/.orvane-ready-2"
  ) 9>"$WINEPREFIX.lock"
}
