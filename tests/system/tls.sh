#!/usr/bin/env bash
# The agent over an encrypted connection: a server of its own whose account accepts only TLS, with a
# certificate authority made here. The agent itself is unchanged; only its data source differs.
source "$(dirname "$0")/lib.sh"

certs=$work/certs
mkdir -p "$certs"
# make_ca NAME: a certificate authority of its own.
make_ca() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=CorvelLane test $1" \
    -keyout "$certs/$1-key.pem" -out "$certs/$1.pem" 2>/dev/null || fail "openssl could not make $1"
}
make_ca ca
make_ca other-ca
# The server's certificate names the address the data source names, as verification checks it.
openssl req -newkey rsa:2048 -nodes -subj "/CN=127.0.0.1" -keyout "$certs/server-key.pem" \
  -out "$certs/server.csr" 2>/dev/null || fail "openssl could not make the server's request"
printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\n' >"$certs/san.ext"
openssl x509 -req -in "$certs/server.csr" -CA "$certs/ca.pem" -CAkey "$certs/ca-key.pem" -CAcreateserial \
  -days 2 -extfile "$certs/san.ext" -out "$certs/server.pem" 2>/dev/null || fail "openssl could not sign"

export CORVELLANE_TESTDB_DIR=$work/tlsdb
export CORVELLANE_TESTDB_PORT=${CORVELLANE_TLS_TESTDB_PORT:-3398}
cleanup_steps+=('"$CORVELLANE_TESTDB_SCRIPT" stop >/dev/null')
CORVELLANE_TESTDB_SERVER_OPTIONS="--ssl-ca=$certs/ca.pem --ssl-cert=$certs/server.pem --ssl-key=$certs/server-key.pem" \
  "$CORVELLANE_TESTDB_SCRIPT" start >/dev/null || fail "the TLS server did not start"
export ODBCSYSINI=$CORVELLANE_TESTDB_DIR/odbc
[ "$(db_value "SELECT @@have_ssl")" = YES ] || fail "the server did not take its certificate"
root_sql "ALTER USER 'corvellane'@'127.0.0.1' REQUIRE SSL; ALTER USER 'corvellane'@'localhost' REQUIRE SSL;"
seed_installation

handshakes() { db_value "SHOW GLOBAL STATUS LIKE 'Ssl_accepts'" | awk '{ print $2 }'; }

# 1. The data source names the authority and asks for the server's certificate to be verified: the
#    agent starts as always, quietly, over TLS.
encrypted=$(odbc_config encrypted "SSLCA=$certs/ca.pem" SSLVERIFY=1)
before=$(handshakes)
start_agent "$encrypted"
wait_window 'CorvelLane 1.27' >/dev/null || fail "TLS: no main window"
has_window Error && fail "TLS: an error box was shown"
[ "$(log_lines)" = 0 ] || fail "TLS: the log was written: $(cat "$work/agent/Log.txt")"
[ "$(handshakes)" -gt "$before" ] || fail "TLS: the server saw no TLS handshake"
stop_agent TERM "TLS"
pass "TLS with a verified server certificate: quiet start, the server saw the handshake"

# 2. The data source without TLS settings: the account refuses the plain connection, and the agent
#    shows its standard connection failure.
expect_connection_failure "no TLS settings" "$ODBCSYSINI"
pass "data source without TLS settings: the standard connection failure"

# 3. An authority that did not sign the server's certificate: verification refuses the server.
impostor=$(odbc_config impostor "SSLCA=$certs/other-ca.pem" SSLVERIFY=1)
expect_connection_failure "unknown authority" "$impostor"
pass "server certificate from another authority: the standard connection failure"
