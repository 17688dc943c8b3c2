# Shared by the scripts that run Windows programs: start them under Wine (with their text output
# traced), wait for things with bounded timeouts, and clean up.
#
# Sourcing this gives the script its one cleanup, run on every way out (the end, exit, a failed
# command under set -e, Ctrl+C, a kill by CTest's timeout): it ends every process the script
# started through start_program or registered with track_process, ends the Wine sessions it
# registered with track_session, then removes every path made with new_temp_into or registered
# with track_path. A script adds nothing to the EXIT trap itself.

wine_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
wine_run="$wine_dir/run"

cleanup_pids=()
cleanup_sessions=()
cleanup_paths=()

track_process() { cleanup_pids+=("$1"); }
track_session() { cleanup_sessions+=("$1"); } # a prefix whose every process the script owns
track_path() { cleanup_paths+=("$1"); }

# new_temp_into NAME [-d]: makes a temporary file (a folder with -d) named kalvora-*, that the
# cleanup removes, and puts its path in the variable NAME.
new_temp_into() {
  local made
  made=$(mktemp "${@:2}" -p "${TMPDIR:-/tmp}" kalvora-XXXXXXXX) || return 1
  track_path "$made"
  printf -v "$1" '%s' "$made"
}

# Processes are asked to end, then killed; a Windows program under Wine ends with its Unix
# process. Removal comes last, so nothing is left writing into a removed folder.
cleanup() {
  local pid prefix deadline=$((SECONDS + 5))
  set +e # a process that has already ended must not cut the cleanup short
  for pid in "${cleanup_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${cleanup_pids[@]}"; do
    while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.05; done
    kill -KILL "$pid" 2>/dev/null
  done
  for pid in "${cleanup_pids[@]}"; do wait "$pid" 2>/dev/null; done
  for prefix in "${cleanup_sessions[@]}"; do "$wine_dir/session" stop "$prefix"; done
  [ ${#cleanup_paths[@]} -eq 0 ] || rm -rf "${cleanup_paths[@]}"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# wait_until SECONDS COMMAND...: polls the command until it succeeds; fails when time is up.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# start_program PREFIX PROGRAM TRACE_FILE [CHANNELS]: starts the program with Wine's debug
# output in TRACE_FILE, by default its text-output trace; its process id lands in program_pid.
start_program() {
  WINEDEBUG=${4--all,trace+font} "$wine_run" "$1" "$2" </dev/null >/dev/null 2>"$3" &
  program_pid=$!
  track_process "$program_pid"
}

# The X window whose name is exactly the given title.
x_window() { xdotool search --name "^$1\$" 2>/dev/null | head -n 1; }

# No X window has exactly the given title (for wait_until).
no_window() { [ -z "$(x_window "$1")" ]; }

# wait_for_version_dialog SECONDS TRACE: waits until the version dialog's text is drawn.
wait_for_version_dialog() { wait_until "$1" grep -q 'L"Kalvora Version 1.0"' "$2"; }

# The strings drawn at 0, 0, with their lengths, one per line: "L"...", N".
drawn_at_origin() { sed -n 's/.*NtGdiExtTextOutW [^,]*, 0, 0, [^,]*, [^,]*, \(L".*", [0-9]*\), .*/\1/p' "$1"; }

# The report lines (those opening with "0x") drawn at 0, 0, in the same form.
report_lines() { drawn_at_origin "$1" | grep '^L"0x'; }

# wait_for_report_line SECONDS TRACE: waits until a report line is drawn at 0, 0.
wait_for_report_line() { wait_until "$1" bash -c "grep -q 'NtGdiExtTextOutW.*, 0, 0, .*L\"0x' '$2'"; }

# await_exit SECONDS: waits for the last started program to end; its exit code lands in
# exit_code ("timeout" when it is still running; the cleanup ends it).
await_exit() {
  if wait_until "$1" bash -c "! kill -0 $program_pid 2>/dev/null"; then
    exit_code=0
    wait "$program_pid" || exit_code=$?
  else
    exit_code=timeout
  fi
}
