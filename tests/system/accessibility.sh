#!/usr/bin/env bash
# The agent as a screen reader sees it: the real program on the desktop's accessibility bus (AT-SPI, as
# Orca reads it). A prompt is found by its title and answered through accessibility actions alone, with
# no mouse and no key press; the login panel's fields are named.
[ -n "${CORVELLANE_OWN_BUS:-}" ] || CORVELLANE_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"

[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
cleanup_steps+=("kill $! 2>/dev/null")
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

atspi() { /usr/bin/python3 "$(dirname "$0")/atspi.py" "$agent_pid" "$@"; }
# seen ROLE NAME: whether a showing object of that role and name is on the bus.
seen() {
  local dump
  dump=$(atspi dump) && grep -q "^$1|$2|" <<<"$dump"
}
# in_order ROLE|NAME...: the bus shows these objects in this order (others may stand between them).
in_order() {
  local dump line
  dump=$(atspi dump | cut -d'|' -f1,2)
  for line in "$@"; do
    dump=$(grep -A 1000000 -m 1 -F -x -- "$line" <<<"$dump") || return 1
    dump=$(tail -n +2 <<<"$dump")
  done
}

seed_installation
start_tray_host
start_agent "$ODBCSYSINI"
main=$(wait_visible 'CorvelLane 1.27') || fail "no main window"
wait_for 10 size_is "$main" 254 185 || fail "the panel did not slide in"
wait_for 20 seen 'push button' Fechar || fail "the header's X is not a push button named Fechar: $(atspi dump)"
panel=$(atspi dump)
for button in Fechar Relatório; do
  grep -q "^push button|$button|Press" <<<"$panel" || fail "\"$button\" cannot be pressed: $panel"
done
grep -q '^label|Usuário:|' <<<"$panel" && grep -q '^label|Cota:|' <<<"$panel" ||
  fail "the panel's labels are not readable: $panel"
! grep -q '^filler||' <<<"$panel" || fail "a nameless filler is on the bus: $panel"
pass "the main panel reads as labels and named push buttons"

atspi press Fechar
wait_hidden 'CorvelLane 1.27' || fail "pressing Fechar did not hide the window"
send '1;815;3;Contrato de prestação.doc'
wait_for 10 seen label 'Atribuir centro de custo' || fail "no prompt found by its title"
in_order 'label|Atribuir centro de custo' 'label|Cód. Impressão:' 'label|815' 'label|Documento:' \
  'label|Contrato de prestação.doc' 'label|Páginas:' 'label|3' 'text|Código' 'combo box|Nome' \
  'push button|Enviar' || fail "the prompt does not read in the order it is shown: $(atspi dump)"
# The prompt does not take the focus from the program the user is working in; once the user turns to it
# (the desktop's window key, a click), the keys go to the code field.
main=$(visible_window 'CorvelLane 1.27')
wait_for 10 size_is "$main" 254 192 || fail "the cost-centre prompt is $(geometry "$main")"
click_at "$main" 100 20 # the header picture, which does nothing when clicked
xdotool key ctrl+a type 9
wait_for 5 eval '[ "$(atspi text Código)" = 9 ]' || fail "the keys went elsewhere: the code field holds $(atspi text Código)"
pass "the prompt reads title first, then job, document, pages, the named fields and Enviar; the keys go to Código"

atspi type Código 7
atspi press Enviar
wait_for 10 seen 'push button' Yes || fail "no confirmation with a Yes button: $(atspi dump)"
atspi press Yes
wait_hidden 'CorvelLane 1.27' || fail "the window stayed after Yes"
wait_for 10 db_is 'select cod_centro_custo from impressoes where cod_impressoes = 815' 7 || fail "job 815 was not written"
pass "typed, sent and confirmed through accessibility actions alone: job 815 holds cost centre 7"
stop_agent TERM "the prompt answered"

root_sql "UPDATE CORVELLANE.usuario SET login = 'outra.pessoa'"
start_agent "$ODBCSYSINI"
wait_for 20 seen 'text' Login || fail "the login field is not named: $(atspi dump)"
seen 'password text' Senha || fail "the password field is not named: $(atspi dump)"
click_at "$(wait_visible 'CorvelLane 1.27')" 100 20
xdotool type fulano
wait_for 5 eval '[ "$(atspi text Login)" = fulano ]' || fail "the keys went elsewhere: the login field holds $(atspi text Login)"
pass "the login panel's fields are named Login and Senha, and the keys go to Login first"
stop_agent TERM "the login panel"
