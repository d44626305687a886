# What the Wine tests do to the running pet, the way a user would: counted
# checks, questions to our driver inside the desktop, the notification icon's
# menu and the program's message boxes. Sourced by the end-to-end and release
# tests; the caller sets $driver (the driver's .exe) and $out (screenshots).

passed=0 failed=0
ok() { echo "ok: $*"; passed=$((passed + 1)); }
bad() { echo "FAIL: $*"; failed=$((failed + 1)); }
check() { local what=$1; shift; if "$@"; then ok "$what"; else bad "$what"; fi; }
# WHAT COMMAND…: a check that what follows cannot do without: one clear failure
# that says so, so the caller stops there instead of failing on and on.
need() {
  local what=$1
  shift
  "$@" && { ok "$what"; return 0; }
  bad "$what; the rest of this section cannot go on without it"
  return 1
}
shot() { import -window root "$out/$1.png"; }

# PATTERN: the ids of this test's Wine prefix's processes whose command lines
# match it (another test may run the same programs in a prefix of its own).
prefix_pids() {
  local p
  for p in $(pgrep -f "$1"); do
    { tr '\0' '\n' <"/proc/$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$p"; } 2>/dev/null
  done
}
# PATTERN: the command lines of those processes, one a line.
of_prefix() {
  local p
  for p in $(prefix_pids "$1"); do
    { tr '\0' ' ' <"/proc/$p/cmdline" && echo; } 2>/dev/null
  done
}

# A question to the driver. Its status is the driver's; a busy Wine that could
# not start it at all (no answer and a failure) is asked again.
drv() {
  local answer status try
  for try in 1 2 3; do
    answer=$("$WINE64" "$driver" "$@" 2>/dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}")
    status=$?
    [ $status -eq 0 ] || [ -n "$answer" ] && break
    [ $try = 3 ] || sleep 0.5
  done
  printf '%s' "${answer:+$answer$'\n'}"
  return $status
}
pet() { drv pet; }
frozen() { local a b; sleep 0.5; a=$(pet); sleep 1.5; b=$(pet); [ "$a" = "$b" ]; }
# Moving: seen at another place within three seconds (on a busy machine its
# ticks come late and a question to Wine may take a second).
moving() { local a b; sleep 0.5; a=$(pet); for _ in 1 2; do sleep 1.5; b=$(pet); [ "$a" != "$b" ] && return 0; done; return 1; }

# SECONDS COMMAND…: true once the command succeeds, asked four times a second.
wait_for() {
  local n=$(($1 * 4))
  shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.25; done
  "$@"
}

# X Y [BUTTON]: a click as a user makes it: the pointer onto the spot, a pause,
# press, a short hold, release.
press_at() {
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown "${3:-1}"
  sleep 0.1
  xdotool mouseup "${3:-1}"
}

# TITLE: a window of that title is there, shown or not.
has_window() { drv window "$1" >/dev/null; }

# The help window on the screen, minimised, or closed (hidden, not minimised).
help_visible() { test "$(drv visible 简介)" = 1; }
help_iconic() { test "$(drv iconic 简介)" = 1; }
help_hidden() { test "$(drv visible 简介)" = 0 -a "$(drv iconic 简介)" = 0; }
help_shown() { wait_for 2 help_visible; }

# The pet's menu is open: its twelve items are ten of 28 pixels, the read-out of
# 34 and two separators of 5. Sets ML MT MR MB to its rectangle.
menu_open() { read -r _ _ ML MT MR MB < <(drv menu) && [ -n "${MB:-}" ] && [ $((MB - MT)) -ge 300 ]; }
# No menu is open.
menu_closed() { test "$(drv menu)" = none; }
# TITLE: the window of that title is the foreground window.
foreground_is() { test "$(drv foreground)" = "$1"; }

# WIDTH HEIGHT: where the notification icon is on a Wine virtual desktop of that
# size, the right end of its taskbar: sets tray_x and tray_y. The tests' desktop
# is 1024×768 unless the caller says otherwise.
tray_on_desktop() { tray_x=$(($1 - 12)) tray_y=$(($2 - 11)); }
[ -n "${tray_x:-}" ] && [ -n "${tray_y:-}" ] || tray_on_desktop 1024 768
# SHOT SHOT: how many pixels differ between two screenshots in the icon's square.
tray_icon_diff() {
  local square=24x24+$((tray_x - 12))+$((tray_y - 12))
  compare -metric AE "$1[$square]" "$2[$square]" null: 2>&1
}

# X Y BMP FRAME FRAMES: how many pixels on the screen at (X, Y) differ from that
# frame of a skin picture of FRAMES frames side by side; its magenta pixels are
# see-through and do not count. Works in the caller's folder $scratch.
frame_diff() {
  local w h fw
  read -r w h < <(identify -format '%w %h' "$3")
  fw=$(($w / $5))
  convert "$3" -crop "${fw}x${h}+$((fw * ($4 - 1)))+0" +repage "$scratch/ref.png"
  import -window root -crop "${fw}x${h}+$1+$2" +repage "$scratch/got.png"
  convert "$scratch/ref.png" -alpha off -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' "$scratch/mask.png"
  convert "$scratch/ref.png" "$scratch/got.png" "$scratch/mask.png" -composite "$scratch/want.png"
  compare -metric AE "$scratch/want.png" "$scratch/got.png" null: 2>&1 | cut -d' ' -f1
}

# Opens the menu from the notification icon with mouse BUTTON (1 or 3).
tray() {
  local try
  for try in 1 2 3; do
    xdotool mousemove "$tray_x" "$tray_y" click "$1"
    sleep 1
    menu_open && return 0
    xdotool key Escape
  done
  return 1
}

# Takes the open menu's item at screen row Y. Menus take an item on a release
# after the pointer has moved over it; under Wine the first click may only give
# the menu the pointer, so click again while the menu is still open.
choose() {
  local try
  for try in 1 2 3; do
    xdotool mousemove $((ML + 60)) $(($1 + 2))
    sleep 0.3
    xdotool mousemove $((ML + 50)) "$1"
    sleep 0.3
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
    sleep 0.7
    drv menu | grep -q '^items' || return 0
  done
  return 1
}

# OFFSET BUTTON COMMAND…: the command's effect is there, or the item at OFFSET
# from the menu's top (negative: from its bottom) is chosen again from the icon,
# as a click the menu took only as the pointer entering it did nothing.
menu_command() {
  local offset=$1 button=$2
  shift 2
  "$@" && return 0
  for _ in 1 2; do
    tray "$button" || continue
    if [ "$offset" -lt 0 ]; then choose $((MB + offset)); else choose $((MT + offset)); fi
    "$@" && return 0
  done
  return 1
}

# [TRIES]: the message box on screen, "caption|text", after at most TRIES
# quarter seconds; "none" and failure when none came.
wait_dialog() { next_dialog none "${1:-40}"; }
# OLD [TRIES]: the same for a message box other than OLD, the one the user just
# answered (it may still be on the screen for a moment).
next_dialog() {
  local d
  for _ in $(seq "${2:-40}"); do
    d=$(drv dialog) && [ "$d" != none ] && [ "$d" != "$1" ] && { echo "$d"; return 0; }
    sleep 0.25
  done
  echo none
  return 1
}
no_dialog() { test "$(drv dialog)" = none; }

# OFFSET of the item from the menu's top: the message it brings, "none" if none.
menu_dialog() {
  local d
  for _ in 1 2 3; do
    tray 3 || continue
    choose $((MT + $1))
    d=$(wait_dialog 16) && { echo "$d"; return 0; }
  done
  echo none
}

# FORM COMMAND…: the command's answer (its output) once it has the form FORM, an
# extended regular expression over the whole answer (anchor it: ^…$). A busy
# Wine may answer for a program it could not start ("Application could not be
# started, …"), so a question whose answer has not the form is asked again, up
# to five times a second apart. Prints the last answer; fails when none had it.
ask() {
  local form=$1 answer try
  shift
  for try in 1 2 3 4 5; do
    answer=$("$@")
    [[ $answer =~ $form ]] && { printf '%s' "${answer:+$answer$'\n'}"; return 0; }
    [ $try = 5 ] || sleep 1
  done
  printf '%s' "${answer:+$answer$'\n'}"
  return 1
}
