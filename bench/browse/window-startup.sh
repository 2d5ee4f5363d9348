#!/usr/bin/env bash
# The whole process's start-up on an X display: from starting the program
# to its main window mapped (visible), the median of 7 runs. An X client
# started to look costs tens of milliseconds here, so the moment comes from
# one watcher that stays connected (xev on the root window) and stamps every
# window mapped as it happens; xdotool then only tells which one was the
# main window. A run in which the program shows any other window (a
# message) or ends by itself fails.
# Usage: window-startup.sh PROGRAM   (under xvfb-run)
set -euo pipefail
program=$1
runs=7
title='^VelloranV3\.4$'
work=$(mktemp -d)
maps="$work/maps"
touch "$maps"

# Microseconds since the epoch, without starting a process.
now() { echo "${EPOCHREALTIME/./}"; }

# Appends "<window id> <microseconds>" to $maps for every window mapped on
# the root window. xev writes each event as two lines, the mapped window's
# id on the second.
watch_maps() {
  local line mapped="" id
  while IFS= read -r line; do
    case $line in
      MapNotify*) mapped=$(now) ;;
      *", window "*)
        [ -n "$mapped" ] || continue
        id=${line#*, window }
        echo "${id%%,*} $mapped" >>"$maps"
        mapped=""
        ;;
    esac
  done < <(stdbuf -oL xev -root -event substructure 2>/dev/null)
}

# The visible windows of process $1; with a second argument, only the
# main window.
visible_windows() {
  if [ $# -gt 1 ]; then
    xdotool search --all --onlyvisible --pid "$1" --name "$title" 2>/dev/null || true
  else
    xdotool search --onlyvisible --pid "$1" 2>/dev/null || true
  fi
}

# The stamp of the main window's map, or nothing while it is not visible.
main_window_mapped() {
  local window
  window=$(visible_windows "$1" main | head -n 1)
  [ -n "$window" ] || return 0
  awk -v id="$(printf '0x%x' "$window")" '$1 == id { stamp = $2 } END { print stamp }' "$maps"
}

one_start() {
  local start pid mapped=""
  start=$(now)
  "$program" >/dev/null 2>"$work/errors" &
  pid=$!
  until [ -n "$mapped" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "the program ended before it showed its main window:" >&2
      cat "$work/errors" >&2
      return 1
    fi
    sleep 0.005
    mapped=$(main_window_mapped "$pid")
  done
  echo $(((mapped - start) / 1000)) >>"$work/samples"
  # A message shown at start comes with the main window or right after it.
  sleep 0.5
  local shown
  shown=$(visible_windows "$pid" | wc -l)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  if [ "$shown" -ne 1 ]; then
    echo "the program showed $shown windows at start instead of its main window alone" >&2
    return 1
  fi
}

watch_maps &
watcher=$!
trap 'kill "$watcher" 2>/dev/null; rm -rf "$work"' EXIT
sleep 0.3  # the watcher is listening
for _ in $(seq "$runs"); do one_start; done
echo "whole process, start to its main window mapped under Xvfb (median of $runs): $(sort -n "$work/samples" | sed -n "$(((runs + 1) / 2))p") ms"
