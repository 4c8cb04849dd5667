#!/usr/bin/env bash
# Lance un programme de test Qt sous weston sans écran (moteur headless), dans
# un XDG_RUNTIME_DIR privé.   wayland.sh PROGRAMME [ARGUMENTS...]
# Code 77 (test sauté) sans weston ou sans le greffon Wayland de Qt (qt6-wayland).
set -euo pipefail
command -v weston >/dev/null || { echo "outil absent : weston" >&2; exit 77; }
ls "$(qtpaths6 --query QT_INSTALL_PLUGINS)"/platforms/libqwayland-*.so >/dev/null 2>&1 ||
  { echo "greffon Wayland de Qt absent (paquet qt6-wayland)" >&2; exit 77; }
export XDG_RUNTIME_DIR=$(mktemp -d) # créé en 0700
weston --backend=headless-backend.so --socket=essai --idle-time=0 > "$XDG_RUNTIME_DIR/log" 2>&1 &
weston=$!
trap 'kill $weston; wait $weston; rm -rf "$XDG_RUNTIME_DIR"' EXIT
until [ -S "$XDG_RUNTIME_DIR/essai" ]; do
  kill -0 $weston || { cat "$XDG_RUNTIME_DIR/log" >&2; exit 1; }
  sleep 0.1
done
# Sans siège (ni clavier ni souris), le contexte de saisie Wayland de Qt 6.4
# plante à la première touche simulée : celui de Qt côté client le remplace.
env -u DISPLAY WAYLAND_DISPLAY=essai QT_QPA_PLATFORM=wayland QT_IM_MODULE=none "$@"
