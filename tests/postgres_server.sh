#!/usr/bin/env bash
# The private PostgreSQL server the suite tests against, listening only on a Unix socket in a
# folder of its own, with the roles a winery sets up: an owner of the schema, a user who reads
# and writes rows, a reader, and a user who must give a password.
#   postgres_server.sh start STATE    makes and starts a server, writing its folder into STATE
#   postgres_server.sh stop STATE     stops it and removes its folder
#   postgres_server.sh kill STATE     stops it at once, as a power cut would (no shutdown)
#   postgres_server.sh restart STATE  starts it again after kill
# initdb refuses root: as root the server runs as the postgres user.
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
command=$1 state=$2
as_server=()
[ "$(id -u)" -eq 0 ] && as_server=(runuser -u postgres --)

pg_ctl() {
    local folder
    folder=$(cat "$state")
    "${as_server[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" "$@"
}

case $command in
start)
    [ -f "$state" ] && "$0" stop "$state"
    folder=$(mktemp -d /tmp/ardovin-server.XXXXXX)
    chmod 755 "$folder"
    [ ${#as_server[@]} -gt 0 ] && chown postgres: "$folder"
    "${as_server[@]}" "$bin/initdb" -D "$folder/data" -U admin -A trust -E UTF8 --locale=C.UTF-8 \
        >"$folder/initdb.log"
    # Only the role with a password is asked for it; every other role is trusted on the socket.
    sed -i '1i local all cellar_password scram-sha-256' "$folder/data/pg_hba.conf"
    cat >>"$folder/data/postgresql.conf" <<CONF
listen_addresses = ''
unix_socket_directories = '$folder'
unix_socket_permissions = 0777
CONF
    echo "$folder" >"$state"
    pg_ctl -w start >/dev/null
    "$bin/psql" -h "$folder" -U admin -d postgres -q -v ON_ERROR_STOP=1 <<SQL
CREATE ROLE cellar_owner LOGIN CREATEDB;
CREATE ROLE cellar_user LOGIN;
CREATE ROLE cellar_reader LOGIN;
CREATE ROLE cellar_password LOGIN PASSWORD 'grape must';
SQL
    echo "server started in $folder"
    ;;
stop)
    [ -f "$state" ] || exit 0
    folder=$(cat "$state")
    pg_ctl -m fast stop >/dev/null 2>&1 || true
    rm -rf "$folder" "$state"
    ;;
kill) pg_ctl -m immediate stop >/dev/null ;;
restart) pg_ctl -w start >/dev/null ;;
*)
    echo "usage: $0 start|stop|kill|restart STATE" >&2
    exit 2
    ;;
esac
