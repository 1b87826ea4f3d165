# SPDX-License-Identifier: GPL-3.0-or-later
# A private PostgreSQL cluster for the records' server tests: in a temporary
# folder, on a Unix socket there and no TCP port, run by an unprivileged user
# (PostgreSQL refuses root; as root the tests use the system user
# numirabairo-test, made when missing). Sourced by test.sh; start_test_server
# exports APP_TEST_PGHOST (the socket folder), APP_TEST_PGPORT and
# APP_TEST_PGUSER (the cluster's owner, who logs in without a password; every
# other role needs its password) and APP_TEST_PGCTL (pg_ctl for it: `stop -m
# fast`, `start`). stop_test_server removes it all; test.sh
# calls it on every exit.

start_test_server() {
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
  [ -x "$bin/initdb" ] || { echo "test server: no PostgreSQL in /usr/lib/postgresql" >&2; return 1; }
  local owner
  owner=$(id -un)
  TEST_SERVER_DIR=$(mktemp -d /tmp/numirabairo-pg.XXXXXX)
  local run=()
  if [ "$(id -u)" -eq 0 ]; then
    owner=numirabairo-test
    id -u "$owner" >/dev/null 2>&1 ||
      useradd --system --no-create-home --shell /usr/sbin/nologin "$owner"
    chown "$owner" "$TEST_SERVER_DIR"
    run=(runuser -u "$owner" --)
  fi
  chmod 0755 "$TEST_SERVER_DIR"
  "${run[@]}" "$bin/initdb" -D "$TEST_SERVER_DIR/data" -U "$owner" -A trust \
      -E UTF8 --locale=C.UTF-8 >"$TEST_SERVER_DIR/initdb.log" 2>&1 || {
    cat "$TEST_SERVER_DIR/initdb.log" >&2; return 1; }
  # The owner alone logs in without a password, on the socket only.
  printf 'local all %s trust\nlocal all all scram-sha-256\n' "$owner" \
    >"$TEST_SERVER_DIR/data/pg_hba.conf"
  APP_TEST_PGPORT=${APP_TEST_PGPORT:-55432}
  # pgctl stops and starts it again, for the tests of a server that goes away.
  local options="-c listen_addresses='' -c unix_socket_directories='$TEST_SERVER_DIR' -p $APP_TEST_PGPORT -c max_connections=200"
  cat >"$TEST_SERVER_DIR/pgctl" <<EOF
#!/bin/sh
exec ${run[*]} "$bin/pg_ctl" -D "$TEST_SERVER_DIR/data" -l "$TEST_SERVER_DIR/server.log" -w -o "$options" "\$@"
EOF
  chmod 0755 "$TEST_SERVER_DIR/pgctl"
  "$TEST_SERVER_DIR/pgctl" start >/dev/null || { cat "$TEST_SERVER_DIR/server.log" >&2; return 1; }
  export APP_TEST_PGHOST=$TEST_SERVER_DIR APP_TEST_PGPORT APP_TEST_PGUSER=$owner
  export APP_TEST_PGCTL=$TEST_SERVER_DIR/pgctl
  TEST_SERVER_RUN=("${run[@]}")
  TEST_SERVER_BIN=$bin
}

stop_test_server() {
  [ -n "${TEST_SERVER_DIR:-}" ] || return 0
  "${TEST_SERVER_RUN[@]}" "$TEST_SERVER_BIN/pg_ctl" -D "$TEST_SERVER_DIR/data" -m immediate stop \
      >/dev/null 2>&1 || true
  rm -rf "$TEST_SERVER_DIR"
  unset TEST_SERVER_DIR
}
