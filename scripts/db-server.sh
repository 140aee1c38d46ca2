#!/usr/bin/env bash
# A private MariaDB server: its own data directory, socket and a free port on 127.0.0.1.
# Source this file, then:
#   zarn_db_start DATADIR SOCKETDIR   starts (initialising DATADIR on first use) and exports
#                                     ZARN_DB_HOST, ZARN_DB_PORT, ZARN_DB_SOCKET, ZARN_DB_USER,
#                                     ZARN_DB_PASSWORD
#   zarn_db_attach DATADIR SOCKETDIR  when a server started this way already runs on DATADIR:
#                                     exports the same variables for it, takes it over (so
#                                     zarn_db_stop stops it) and succeeds; else fails, touching
#                                     nothing
#   zarn_db_stop                      stops the server this shell started, by its pid

ZARN_DB_PID=
ZARN_DB_USER_NAME=zarn

zarn_db_server_bin() {
  local b
  for b in /usr/sbin/mariadbd /usr/sbin/mysqld /usr/bin/mariadbd; do
    [ -x "$b" ] && { echo "$b"; return 0; }
  done
  command -v mariadbd || command -v mysqld
}

# The pid of the server that runs on DATADIR with its pid file in SOCKETDIR; fails when none does.
zarn_db_running_pid() {
  local datadir=$1 sockdir=$2 pid
  pid=$(cat "$sockdir/mysqld.pid" 2>/dev/null) || return 1
  [[ $pid =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null || return 1
  tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | grep -qxF -- "--datadir=$datadir" || return 1
  echo "$pid"
}

zarn_db_attach() {
  local datadir=$1 sockdir=$2 pid port
  pid=$(zarn_db_running_pid "$datadir" "$sockdir") || return 1
  port=$(tr '\0' '\n' <"/proc/$pid/cmdline" | sed -n 's/^--port=//p')
  [ -n "$port" ] && [ -s "$datadir/.zarn-password" ] || return 1
  mariadb-admin --no-defaults --socket="$sockdir/mysqld.sock" -uroot ping >/dev/null 2>&1 || return 1
  ZARN_DB_PID=$pid
  export ZARN_DB_HOST=127.0.0.1 ZARN_DB_PORT=$port ZARN_DB_SOCKET=$sockdir/mysqld.sock
  export ZARN_DB_USER=$ZARN_DB_USER_NAME ZARN_DB_PASSWORD
  ZARN_DB_PASSWORD=$(cat "$datadir/.zarn-password")
  echo "MariaDB server already running (pid $pid, 127.0.0.1:$port, socket $sockdir/mysqld.sock)"
}

zarn_db_start() {
  local datadir=$1 sockdir=$2
  local bin sock log pidfile port tries as_root=() running
  # A server on these files is never started twice, nor are its socket and pid file removed.
  if running=$(zarn_db_running_pid "$datadir" "$sockdir"); then
    echo "a MariaDB server already runs on $datadir (pid $running)" >&2
    return 1
  fi
  bin=$(zarn_db_server_bin) || { echo "mariadbd not found" >&2; return 1; }
  mkdir -p "$datadir" "$sockdir"
  chmod 700 "$datadir" "$sockdir"
  sock=$sockdir/mysqld.sock
  if [ ${#sock} -gt 107 ]; then
    echo "socket path too long (${#sock} bytes): $sock" >&2
    return 1
  fi
  [ "$(id -u)" -eq 0 ] && as_root=(--user=root)
  log=$datadir/server.log
  pidfile=$sockdir/mysqld.pid

  local fresh=0
  if [ ! -d "$datadir/mysql" ]; then
    fresh=1
    mariadb-install-db --no-defaults "${as_root[@]}" --datadir="$datadir" \
      --auth-root-authentication-method=socket --skip-test-db >"$datadir/install.log" 2>&1 \
      || { cat "$datadir/install.log" >&2; return 1; }
  fi

  echo "Starting the MariaDB server on $datadir ..."
  for tries in 1 2 3 4 5 6 7 8 9 10; do
    port=$(( 20000 + (RANDOM * 32768 + RANDOM) % 40000 ))
    # Skip ports somebody already listens on.
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then continue; fi
    rm -f "$sock" "$pidfile"
    "$bin" --no-defaults "${as_root[@]}" --datadir="$datadir" --socket="$sock" \
      --port="$port" --bind-address=127.0.0.1 --skip-name-resolve \
      --pid-file="$pidfile" --log-error="$log" \
      --local-infile=1 --lower-case-table-names=0 \
      --character-set-server=utf8mb4 --collation-server=utf8mb4_hungarian_ci >/dev/null 2>&1 &
    ZARN_DB_PID=$!
    local i
    for i in $(seq 1 300); do
      if ! kill -0 "$ZARN_DB_PID" 2>/dev/null; then break; fi
      if mariadb-admin --no-defaults --socket="$sock" -uroot ping >/dev/null 2>&1; then
        break
      fi
      sleep 0.1
    done
    if kill -0 "$ZARN_DB_PID" 2>/dev/null && mariadb-admin --no-defaults --socket="$sock" -uroot ping >/dev/null 2>&1; then
      break
    fi
    wait "$ZARN_DB_PID" 2>/dev/null
    ZARN_DB_PID=
    if ! grep -q 'Address already in use\|Can.t start server: Bind' "$log" 2>/dev/null; then
      tail -n 30 "$log" >&2
      return 1
    fi
  done
  [ -n "$ZARN_DB_PID" ] || { echo "no free port found for the database server" >&2; return 1; }

  local pwfile=$datadir/.zarn-password
  if [ "$fresh" -eq 1 ] || [ ! -s "$pwfile" ]; then
    (umask 077; head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n' >"$pwfile")
    local pw
    pw=$(cat "$pwfile")
    mariadb --no-defaults --socket="$sock" -uroot <<SQL || return 1
CREATE USER IF NOT EXISTS '$ZARN_DB_USER_NAME'@'localhost' IDENTIFIED BY '$pw';
CREATE USER IF NOT EXISTS '$ZARN_DB_USER_NAME'@'127.0.0.1' IDENTIFIED BY '$pw';
ALTER USER '$ZARN_DB_USER_NAME'@'localhost' IDENTIFIED BY '$pw';
ALTER USER '$ZARN_DB_USER_NAME'@'127.0.0.1' IDENTIFIED BY '$pw';
GRANT ALL PRIVILEGES ON *.* TO '$ZARN_DB_USER_NAME'@'localhost' WITH GRANT OPTION;
GRANT ALL PRIVILEGES ON *.* TO '$ZARN_DB_USER_NAME'@'127.0.0.1' WITH GRANT OPTION;
FLUSH PRIVILEGES;
SQL
  fi

  export ZARN_DB_HOST=127.0.0.1 ZARN_DB_PORT=$port ZARN_DB_SOCKET=$sock
  export ZARN_DB_USER=$ZARN_DB_USER_NAME ZARN_DB_PASSWORD
  ZARN_DB_PASSWORD=$(cat "$pwfile")
  echo "MariaDB server started (pid $ZARN_DB_PID, 127.0.0.1:$port, socket $sock)"
}

zarn_db_stop() {
  [ -n "${ZARN_DB_PID:-}" ] || return 0
  if kill -0 "$ZARN_DB_PID" 2>/dev/null; then
    kill -TERM "$ZARN_DB_PID" 2>/dev/null
    local i
    for i in $(seq 1 300); do
      kill -0 "$ZARN_DB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$ZARN_DB_PID" 2>/dev/null && kill -KILL "$ZARN_DB_PID" 2>/dev/null
  fi
  wait "$ZARN_DB_PID" 2>/dev/null
  ZARN_DB_PID=
}
