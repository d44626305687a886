# Functions for running our Windows programs on a private X display in a Wine
# virtual desktop. Sourced by scripts/test, scripts/run, the benchmarks and the
# Wine tests.

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

# Starts Xvfb [WxH [DEPTH]] on a free display that the server chooses itself
# (two tests starting at once cannot take the same one) and exports DISPLAY.
start_xvfb() {
  local file fd
  file=$(mktemp)
  exec {fd}>"$file"
  # -noreset: the server would otherwise reset itself when its last client (the
  # readiness probe below) leaves, and a client connecting meanwhile would fail.
  Xvfb -displayfd "$fd" -screen 0 "${1:-1024x768}x${2:-24}" -nolisten tcp -noreset >/dev/null 2>&1 &
  PIMBLO_XVFB_PID=$!
  exec {fd}>&-
  for _ in $(seq 100); do
    [ -s "$file" ] && break
    sleep 0.1
  done
  export DISPLAY=:$(head -1 "$file")
  rm -f "$file"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "start_xvfb: no X display could be started" >&2
  return 1
}

# Stops the Xvfb of start_xvfb, if it runs; safe to call again (an exit trap
# may call it after the script has).
stop_xvfb() {
  if [ -n "${PIMBLO_XVFB_PID:-}" ]; then
    kill "$PIMBLO_XVFB_PID" 2>/dev/null || true
  fi
  PIMBLO_XVFB_PID=
}

# Makes (or reuses) a Wine prefix whose dialog and menu fonts show Chinese.
make_prefix() {
  export WINEPREFIX
  WINEPREFIX=$(realpath -m "$1")  # Wine wants an absolute path
  if [ ! -f "$WINEPREFIX/.pimblo-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1
    local face
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS Sans Serif"; do
      "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    done
    "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "MS Shell Dlg" /t REG_SZ \
      /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.pimblo-ready"
  fi
}

# Runs a program in the virtual desktop NAME (started with the first program;
# later programs with the same NAME join it), in the background.
on_desktop() {
  local name=$1
  shift
  "$WINE64" explorer /desktop="$name",1024x768 "$@" &
}

# Ends every process of the prefix in $WINEPREFIX and waits for its server to
# go; nothing before a prefix is set (not the user's own ~/.wine).
stop_wine() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
}
