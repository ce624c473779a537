#!/usr/bin/env bash
# Ctrl+C in the terminal of scripts/run reaches the client only: the test server still answers while the
# client asks whether to end. However the client ends, the server has ended when scripts/run returns.
# scripts/run runs as it is, from a copy of the tree whose build is done: a stand-in for cmake builds
# nothing, the real test server serves, and a stand-in client notes what it meets. Run in a network
# namespace of its own (tests/isolated), where port 7171 is free.
# Usage: RunWithCtrlC.sh TESTSERVER
set -u
source=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scripts" "$tree/bin" "$tree/build/release/tools/testserver" "$tree/build/release/control" \
         "$tree/build/release/data"
cp "$source/scripts/run" "$tree/scripts/run"
printf '#!/bin/sh\n' >"$tree/scripts/install-deps"
printf '#!/bin/sh\n' >"$tree/bin/cmake"
ln -s "$1" "$tree/build/release/tools/testserver/pellarune-testserver"
# The client's part: SIGINT asks (and the stand-in looks whether the server answers meanwhile); the test
# then ends it by the file "end", or kills it.
cat >"$tree/build/release/control/pellarune" <<'EOF'
#!/usr/bin/env bash
answers() { (exec 3<>/dev/tcp/127.0.0.1/7171) 2>/dev/null; }
trap 'if answers; then echo answered; else echo refused; fi >"$MARKS/asked"' INT
echo $$ >"$MARKS/started"
until [ -e "$MARKS/end" ]; do sleep 0.1; done
EOF
chmod +x "$tree/scripts/run" "$tree/scripts/install-deps" "$tree/bin/cmake" "$tree/build/release/control/pellarune"

answers() { (exec 3<>/dev/tcp/127.0.0.1/7171) 2>/dev/null; }
# Waits up to a minute for a file to appear.
appears() {
  for _ in $(seq 600); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
failed=0
fail() { echo "$*"; failed=1; }

# Starts scripts/run in a process group of its own, as a terminal runs its foreground job (job control
# also leaves SIGINT as it is for it, where a background job of a script would ignore it).
start() {
  rm -f "$tree/started" "$tree/asked" "$tree/end"
  set -m
  PATH="$tree/bin:$PATH" MARKS=$tree "$tree/scripts/run" >"$tree/run.log" 2>&1 &
  run=$!
  set +m
  appears "$tree/started" || { echo "the stand-in client did not start:"; cat "$tree/run.log"; exit 1; }
}
# Waits for scripts/run to end; the test server must have ended with it.
ends() {
  wait "$run"
  status=$?
  [ "$status" -eq "$1" ] || fail "scripts/run ended with $status after the client $2, not $1"
  answers && fail "the test server still answers after the client $2"
}

start
# The group the terminal sends Ctrl+C to holds the client, not the server (a server that got the signal
# may still answer for a moment while it ends).
server=$(ps --ppid "$run" -o pid=,comm= | awk '$2 ~ /^pellarune-test/ {print $1}')
[ -n "$server" ] || fail "no test server runs under scripts/run"
[ "$(ps -o pgid= -p "$server" | tr -d ' ')" = "$run" ] && fail "the test server gets the terminal's Ctrl+C"
kill -INT -- "-$run"
if ! appears "$tree/asked"; then
  fail "the client did not get the SIGINT"
elif [ "$(cat "$tree/asked")" != answered ]; then
  fail "the test server did not answer while the client asked (Ctrl+C ended it)"
fi
touch "$tree/end"
ends 0 ended

start
kill -KILL "$(cat "$tree/started")"
ends 137 "was killed"

[ "$failed" -eq 0 ] && echo "Ctrl+C reached the client only; the test server ended with the client"
exit "$failed"
