#!/usr/bin/env bash
# A throw-away PostgreSQL server for the records tests and the records benchmark:
# a new cluster in a temporary folder, listening only on a Unix socket in that
# folder, no password (trust), superuser "tavel".
#   pg_server.sh start STATE [PID]  creates and starts it; STATE receives dir= and url=;
#                              with PID, the server is stopped once that process
#                              ends, however it ends (a test killed by a time-out)
#   pg_server.sh pause STATE   stops it, keeping its data
#   pg_server.sh resume STATE  starts it again
#   pg_server.sh stop STATE    stops it and removes its folder and STATE
# The server refuses to run as root: as root it runs as the "postgres" user.
set -euo pipefail
cmd=${1:?start|pause|resume|stop}
state=${2:?state file}
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] && command -v pg_ctl >/dev/null; then bindir=$(dirname "$(command -v pg_ctl)"); fi
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "PostgreSQL server programs (initdb, pg_ctl) not found: install the postgresql package (scripts/setup.sh)" >&2
  exit 1
fi
as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
dir_of() { sed -n 's/^dir=//p' "$state" 2>/dev/null || true; }

case "$cmd" in
start)
  # A state file left by a run that never reached "stop" still names its server:
  # stop that one first, or every such run leaves a server running.
  "$0" stop "$state"
  dir=$(mktemp -d /tmp/tavel-pg.XXXXXX)
  chmod 755 "$dir"
  if [ "$(id -u)" -eq 0 ]; then chown postgres:postgres "$dir"; fi
  if ! as_server "$bindir/initdb" -D "$dir/data" -A trust -U tavel -E UTF8 --no-sync >"$dir/initdb.log" 2>&1; then
    cat "$dir/initdb.log" >&2
    rm -rf "$dir"
    exit 1
  fi
  # Throw-away data: no waiting for the disk.
  printf "listen_addresses = ''\nunix_socket_directories = '%s'\nfsync = off\nsynchronous_commit = off\nfull_page_writes = off\n" \
    "$dir" >>"$dir/data/postgresql.conf"
  printf 'dir=%s\nurl=postgresql:///postgres?host=%s&user=tavel\n' "$dir" "$dir" >"$state"
  if ! as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start >/dev/null; then
    cat "$dir/server.log" >&2
    exit 1
  fi
  owner=${3:-}
  if [ -n "$owner" ]; then
    # Detached from the caller's output, so that its caller does not wait for it.
    nohup bash -c 'while kill -0 "$1" 2>/dev/null; do sleep 1; done
                   [ "$(sed -n "s/^dir=//p" "$3" 2>/dev/null)" = "$4" ] && exec "$2" stop "$3"' \
      watch "$owner" "$0" "$state" "$dir" >/dev/null 2>&1 </dev/null &
  fi
  ;;
pause)
  as_server "$bindir/pg_ctl" -D "$(dir_of)/data" -m fast -w stop >/dev/null
  ;;
resume)
  dir=$(dir_of)
  as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start >/dev/null
  ;;
stop)
  dir=$(dir_of)
  if [ -n "$dir" ] && [ -d "$dir" ]; then
    as_server "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$dir"
  fi
  rm -f "$state"
  ;;
*)
  echo "usage: pg_server.sh start|pause|resume|stop STATE" >&2
  exit 2
  ;;
esac
