# Shared by 'make run' and 'make test': a virtual X display and a throw-away Wine prefix
# whose windows live inside a Wine virtual desktop. Source it; it defines functions only.

# Starts Xvfb on the first free display and exports DISPLAY; XVFB_PID names the server.
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":${n}"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on ${DISPLAY}" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# make_prefix DIR WIDTHxHEIGHT: a fresh 64-bit prefix (so the 32-bit program runs under
# WOW64, as on 64-bit Windows) with a virtual desktop of that size. Without an X window
# manager only the virtual desktop gives Windows-style frames, activation and foreground.
make_prefix() {
  local dir=$1 size=$2
  rm -rf "$dir"
  mkdir -p "$dir"
  export WINEPREFIX=$dir WINEARCH=win64 WINEDEBUG=-all
  # No Mono and no Gecko: their installers would ask for a download that cannot happen.
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  # Debian's Wine does not find the fonts of fonts-wine by itself: without them there is
  # no Tahoma and no Marlett (the caption buttons turn into letters).
  cp /usr/share/wine/fonts/*.ttf "$dir/drive_c/windows/Fonts/" 2>/dev/null || true
  cat > "$dir/desktop.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="${size}"
REG
  wine regedit /s "$(winepath -w "$dir/desktop.reg")" >/dev/null 2>&1
  # The explorer that wineboot started has no virtual desktop: end it so the next
  # program starts one.
  wineserver -w
}
