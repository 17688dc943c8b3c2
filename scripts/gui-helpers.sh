# Shared by the shell-level GUI tests: start the program under Wine with its text output traced,
# wait for things with bounded timeouts, and end what was started.

wine_run="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/wine-run"

# wait_until SECONDS COMMAND...: polls the command until it succeeds; fails when time is up.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# start_traced PREFIX PROGRAM TRACE_FILE: starts the program with Wine's text-output trace.
start_traced() {
  WINEDEBUG=-all,trace+font "$wine_run" "$1" "$2" </dev/null >/dev/null 2>"$3" &
  program_pid=$!
  trap 'kill "$program_pid" 2>/dev/null || true' EXIT
}

# The X window whose name is exactly the given title.
x_window() { xdotool search --name "^$1\$" 2>/dev/null | head -n 1; }

# The strings drawn at 0, 0, with their lengths, one per line: "L"...", N".
drawn_at_origin() { sed -n 's/.*NtGdiExtTextOutW [^,]*, 0, 0, [^,]*, [^,]*, \(L".*", [0-9]*\), .*/\1/p' "$1"; }

# The report lines (those opening with "0x") drawn at 0, 0, in the same form.
report_lines() { drawn_at_origin "$1" | grep '^L"0x'; }

# wait_for_report_line SECONDS TRACE: waits until a report line is drawn at 0, 0.
wait_for_report_line() { wait_until "$1" bash -c "grep -q 'NtGdiExtTextOutW.*, 0, 0, .*L\"0x' '$2'"; }

# await_exit SECONDS: waits for the started program to end; its exit code lands in exit_code
# ("timeout" when it is still running; the trap set when it started ends it on exit).
await_exit() {
  if wait_until "$1" bash -c "! kill -0 $program_pid 2>/dev/null"; then
    wait "$program_pid"
    exit_code=$?
  else
    exit_code=timeout
  fi
}
