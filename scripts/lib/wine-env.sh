# Where the 64-bit Wine loader and its server are, and the environment every
# program of ours runs in under them: no debug output, no .NET or Gecko
# installer on a new prefix. Sourced by scripts/wine-run and
# scripts/lib/wine-desktop.sh; a value already in the environment wins.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The prefix of programs run without one of their own (CTest's Windows tests,
# through scripts/wine-run); the Wine desktop tests make theirs with make_prefix.
PIMBLO_DEFAULT_PREFIX=${PIMBLO_WINEPREFIX:-${XDG_RUNTIME_DIR:-/tmp}/pimblo-wine-$(id -u)}
