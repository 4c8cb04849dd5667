#!/usr/bin/env bash
# Lance un programme de test Qt sous un compositeur Wayland sans écran (weston
# et son moteur headless), dans un XDG_RUNTIME_DIR privé.
#   wayland.sh PROGRAMME [ARGUMENTS...]
# Code 77 (test sauté) sans weston ou sans le greffon Wayland de Qt (qt6-wayland).
set -euo pipefail
command -v weston >/dev/null || { echo "outil absent : weston" >&2; exit 77; }
greffons=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || true)
if ! ls "$greffons"/platforms/libqwayland-*.so >/dev/null 2>&1; then
  echo "greffon Wayland de Qt absent (paquet qt6-wayland)" >&2
  exit 77
fi
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
chmod 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=horaku-essai --idle-time=0 \
  > "$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null || true; wait "$weston" 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 1 100); do
  [ -S "$XDG_RUNTIME_DIR/horaku-essai" ] && break
  kill -0 "$weston" 2>/dev/null || { cat "$XDG_RUNTIME_DIR/weston.log" >&2; exit 1; }
  sleep 0.1
done
# Sans siège (ni clavier ni souris), le contexte de saisie Wayland de Qt 6.4
# plante à la première touche simulée : celui de Qt côté client le remplace.
code=0
env -u DISPLAY WAYLAND_DISPLAY=horaku-essai QT_QPA_PLATFORM=wayland QT_IM_MODULE=none "$@" || code=$?
[ $code -eq 0 ] || tail -20 "$XDG_RUNTIME_DIR/weston.log" >&2
exit $code
