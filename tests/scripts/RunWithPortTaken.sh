#!/usr/bin/env bash
# scripts/run refuses to start the client when another program holds 127.0.0.1:7171: it says so and ends
# with 1. Run in a network namespace of its own (tests/isolated), where the test server plays the holder.
# Usage: RunWithPortTaken.sh TESTSERVER
set -u
cd "$(dirname "$0")/../.."
"$1" --login-port 7171 --game-port 7173 --quiet &
holder=$!
trap 'kill "$holder" 2>/dev/null' EXIT
listening() { (exec 3<>/dev/tcp/127.0.0.1/7171) 2>/dev/null; }
# Polled for up to a minute: a loaded machine may take its time to start the server.
for _ in $(seq 600); do
  listening && break
  sleep 0.1
done
listening || { echo "the test server does not listen on 7171"; exit 1; }
output=$(scripts/run 2>&1)
status=$?
if [ "$status" -ne 1 ] || ! grep -q "port 7171 on 127.0.0.1 is taken" <<<"$output"; then
  echo "scripts/run ended with $status:"
  echo "$output"
  exit 1
fi
echo "scripts/run refused the taken port"
