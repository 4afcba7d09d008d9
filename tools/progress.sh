# Sourced by the scripts: a long step names itself when it starts and says how long it took when
# it ends, and a build shows how far it has got every few seconds, in plain lines (no carriage
# returns), so a terminal and a CI log read the same.

# "1m12s" or "8s" for a number of seconds.
orvane_duration() {
  local s=$1
  if [ "$s" -ge 60 ]; then printf '%dm%02ds' $((s / 60)) $((s % 60)); else printf '%ds' "$s"; fi
}

# orvane_begin TEXT: "== TEXT", and the clock of the step.
orvane_begin() {
  echo "== $*"
  orvane_step_started=$SECONDS
}

# orvane_end [TEXT]: "   done in 1m12s" (or "   TEXT in 1m12s").
orvane_end() {
  echo "   ${1:-done} in $(orvane_duration $((SECONDS - orvane_step_started)))"
}

# orvane_build_progress LOG: reads a build's output (ninja's "[n/N] ..." lines), keeps all of it
# in LOG and shows the latest "[n/N]" with its share at most every ORVANE_PROGRESS_SECONDS
# (default 10), and the last one at the end.
orvane_build_progress() {
  local log=$1 line shown=$SECONDS latest="" every=${ORVANE_PROGRESS_SECONDS:-10} n total
  : >"$log"
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]] || continue
    n=${BASH_REMATCH[1]} total=${BASH_REMATCH[2]}
    [ "$n" -gt 0 ] || continue  # ninja's own checks before the first step
    latest="[$n/$total] $((100 * n / total))%"
    if [ $((SECONDS - shown)) -ge "$every" ]; then
      echo "   $latest"
      shown=$SECONDS
    fi
  done
  if [ -n "$latest" ]; then echo "   $latest"; fi
}

# orvane_build LOG COMMAND...: runs a build with its output in LOG and its progress shown; the
# command's exit status.
orvane_build() {
  local log=$1
  shift
  "$@" 2>&1 | orvane_build_progress "$log"
  return "${PIPESTATUS[0]}"
}
