# Sourced by the scripts: the one place that decides which Windows build this machine can run.
#
# The 32-bit build (win32) is the shipped product and runs under 32-bit Wine. Some machines
# refuse every 32-bit x86 executable ("Exec format error"); there only the 64-bit build
# (win64) runs, under 64-bit Wine. ORVANE_WINDOWS_BUILD=win32|win64 overrides the choice.

# True when the kernel executes 32-bit x86 code. Tried with a 93-byte i386 program that only
# exits, so the answer is known before anything 32-bit is installed.
orvane_machine_runs_i386() {
  local probe
  probe=$(mktemp) || return 1
  # ELF header, one loadable segment, then: mov eax,1; xor ebx,ebx; int 0x80 (exit 0).
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
  printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
  printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' >>"$probe"
  printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
  printf '\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
  printf '\270\001\000\000\000\061\333\315\200' >>"$probe"
  chmod +x "$probe"
  local ok=1
  "$probe" >/dev/null 2>&1 && ok=0
  rm -f "$probe"
  return $ok
}

# True when the 32-bit Wine loader is installed and starts.
orvane_wine32_starts() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Windows builds this machine can run, preferred first: "win32 win64" or "win64".
orvane_runnable_builds() {
  if orvane_machine_runs_i386 && orvane_wine32_starts; then
    echo "win32 win64"
  else
    echo "win64"
  fi
}

# The one build that runs and is tested here.
orvane_windows_build() {
  case "${ORVANE_WINDOWS_BUILD:-}" in
    win32 | win64) echo "$ORVANE_WINDOWS_BUILD" ;;
    "") set -- $(orvane_runnable_builds); echo "$1" ;;
    *) echo "ORVANE_WINDOWS_BUILD must be win32 or win64, not '$ORVANE_WINDOWS_BUILD'" >&2; return 1 ;;
  esac
}
