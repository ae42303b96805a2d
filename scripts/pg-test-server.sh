#!/usr/bin/env bash
# A private PostgreSQL server for the tests: a cluster in DIR with the plain C
# locale (so caseless matching cannot lean on the database's own locale),
# listening only on a Unix socket in DIR, trusting local connections except
# those of members of the role tooldesk_password_login, who must give a
# password (the tests of a desk without its password file).
# Usage: pg-test-server.sh start DIR | stop DIR
#        pg-test-server.sh down DIR fast|immediate | up DIR
# down stops the running server as an administrator or a crash would and
# keeps its cluster; up starts it again.
set -euo pipefail
usage() {
    echo "usage: $0 start|stop|up DIR, or $0 down DIR fast|immediate" >&2
    exit 2
}
action=${1:-}
dir=${2:-}
[ -n "$action" ] && [ -n "$dir" ] || usage
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
if [ -z "$bin" ]; then
    echo "PostgreSQL is not installed (apt-get install postgresql-15)" >&2
    exit 1
fi
# initdb refuses to run as root: the server then runs as the postgres user.
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
    as_owner=(runuser -u postgres --)
fi
run_server() {
    "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/cluster" -l "$dir/server.log" -w -o \
        "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c max_connections=100" start >/dev/null
}
case "$action" in
start)
    mkdir -p "$dir"
    [ ${#as_owner[@]} -eq 0 ] || chown postgres: "$dir"
    chmod 700 "$dir"
    "${as_owner[@]}" "$bin/initdb" -D "$dir/cluster" --locale=C --encoding=UTF8 --auth=trust -U postgres >"$dir/initdb.log"
    hba="$dir/cluster/pg_hba.conf"
    "${as_owner[@]}" sh -c "{ echo 'local all +tooldesk_password_login scram-sha-256'; cat '$hba'; } >'$hba.new' && mv '$hba.new' '$hba' && chmod 600 '$hba'"
    run_server
    # The socket folder must be reachable by the tests' own user.
    chmod 755 "$dir"
    "$bin/psql" -h "$dir" -U postgres -d postgres -qAt -c "CREATE ROLE tooldesk_password_login NOLOGIN" >/dev/null
    ;;
stop)
    if [ -d "$dir/cluster" ]; then
        "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/cluster" -m fast -w stop >/dev/null || true
    fi
    rm -rf "$dir"
    ;;
down)
    mode=${3:-}
    [ "$mode" = fast ] || [ "$mode" = immediate ] || usage
    "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/cluster" -m "$mode" -w stop >/dev/null
    ;;
up)
    run_server
    ;;
*)
    usage
    ;;
esac
