# Sourced by setup.sh: a private CUPS scheduler with a PDF printer for the printing tests.
# Where it cannot start, the printing tests report themselves skipped.
#
# start_test_printer starts a cupsd of its own (configuration, spool, logs and a local socket in a
# temporary folder; the system's cupsd, if any, is neither used nor touched) with one cups-pdf
# queue as its default printer, and exports:
#   CUPS_SERVER            the scheduler's socket, so that libcups (and Qt through it) talks to it
#   TUURBORD_TEST_PRINTER  the name of the queue
#   TUURBORD_TEST_PDF_DIR  the folder where cups-pdf writes the PDF file of each job
# stop_test_printer stops the scheduler, restores CUPS_SERVER and removes everything again.
#
# cups-pdf reads its settings only from /etc/cups, but it picks a file of its own per device
# (cups-pdf:/NAME reads /etc/cups/cups-pdf-NAME.conf). The queue gets a unique NAME, so that one
# extra file sends its PDF files into the temporary folder and leaves every other queue alone.
# The backend runs as root only (mode 0700), so the scheduler must be started by root.

_tp_dir=""
_tp_pid=""
_tp_conf=""
_tp_server_set=""
_tp_had_server=""
_tp_old_server=""

_tp_say() { echo "test printer: $*" >&2; }

start_test_printer() {
  if [ -n "$_tp_pid" ]; then
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    _tp_say "not started: cups-pdf only runs for a scheduler started by root"
    return 0
  fi
  local cupsd lpadmin ppd backend=/usr/lib/cups/backend/cups-pdf
  cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
  lpadmin=$(command -v lpadmin || echo /usr/sbin/lpadmin)
  ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
  if [ ! -x "$cupsd" ] || [ ! -x "$lpadmin" ] || [ ! -x "$backend" ] || [ ! -r "$ppd" ] || [ ! -w /etc/cups ]; then
    _tp_say "not started: cupsd, lpadmin, the cups-pdf backend or its PPD is missing"
    return 0
  fi

  local name="tuurbord-test-$$-$RANDOM"
  _tp_dir=$(mktemp -d /tmp/tuurbord-cups.XXXXXX) || { _tp_dir=""; return 0; }
  local d=$_tp_dir
  mkdir -p "$d/etc/ppd" "$d/spool/tmp" "$d/cache" "$d/state" "$d/log" "$d/pdf" "$d/pdf-spool"
  # The filters run as lp; they read the spool and the PPD, and cups-pdf hands its output to the job's user.
  chmod 0755 "$d" "$d/etc" "$d/cache" "$d/state" "$d/log"
  chgrp lp "$d/spool" "$d/spool/tmp" 2>/dev/null || true
  chmod 0710 "$d/spool"
  chmod 1770 "$d/spool/tmp"
  chmod 0777 "$d/pdf"
  chmod 0755 "$d/pdf-spool"

  cat >"$d/etc/cups-files.conf" <<EOF
ServerRoot $d/etc
RequestRoot $d/spool
TempDir $d/spool/tmp
CacheDir $d/cache
StateDir $d/state
ServerBin /usr/lib/cups
DataDir /usr/share/cups
AccessLog $d/log/access_log
ErrorLog $d/log/error_log
PageLog $d/log/page_log
Printcap $d/printcap
FileDevice No
Sandboxing Relaxed
EOF
  cat >"$d/etc/cupsd.conf" <<EOF
Listen $d/cups.sock
LogLevel info
WebInterface No
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
MaxJobs 100
PreserveJobHistory No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  _tp_conf=/etc/cups/cups-pdf-$name.conf
  cat >"$_tp_conf" <<EOF
Out $d/pdf
AnonDirName $d/pdf
Spool $d/pdf-spool
Label 1
EOF

  "$cupsd" -f -c "$d/etc/cupsd.conf" -s "$d/etc/cups-files.conf" >"$d/log/cupsd.out" 2>&1 &
  _tp_pid=$!

  _tp_had_server=${CUPS_SERVER+yes}
  _tp_old_server=${CUPS_SERVER-}
  _tp_server_set=yes
  export CUPS_SERVER="$d/cups.sock"

  local i
  for i in $(seq 1 100); do
    [ -S "$d/cups.sock" ] && lpstat -r >/dev/null 2>&1 && break
    kill -0 "$_tp_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! lpstat -r >/dev/null 2>&1; then
    _tp_say "not started: the private cupsd did not answer (see $d/log)"
    sed -n '1,20p' "$d/log/cupsd.out" "$d/log/error_log" 2>/dev/null >&2
    stop_test_printer
    return 0
  fi
  # The PDF a program sends goes through PostScript on its way to cups-pdf; rendered by cairo its
  # fonts keep their character codes, so the tests can read the text back from the result.
  if ! "$lpadmin" -p "$name" -E -v "cups-pdf:/$name" -P "$ppd" -o pdftops-renderer-default=pdftocairo \
        >"$d/log/lpadmin.out" 2>&1 \
      || ! "$lpadmin" -d "$name" >>"$d/log/lpadmin.out" 2>&1; then
    _tp_say "not started: the queue could not be made"
    cat "$d/log/lpadmin.out" >&2
    stop_test_printer
    return 0
  fi

  export TUURBORD_TEST_PRINTER="$name"
  export TUURBORD_TEST_PDF_DIR="$d/pdf"
  _tp_say "queue $name on $CUPS_SERVER, PDF files in $TUURBORD_TEST_PDF_DIR"
}

stop_test_printer() {
  if [ -n "$_tp_pid" ]; then
    kill "$_tp_pid" 2>/dev/null || true
    local i
    for i in $(seq 1 50); do
      kill -0 "$_tp_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$_tp_pid" 2>/dev/null || true
    wait "$_tp_pid" 2>/dev/null || true
  fi
  if [ -n "$_tp_conf" ]; then
    rm -f "$_tp_conf"
  fi
  if [ -n "$_tp_dir" ] && [ -d "$_tp_dir" ]; then
    rm -rf "$_tp_dir"
  fi
  if [ -n "$_tp_server_set" ]; then
    if [ -n "$_tp_had_server" ]; then
      export CUPS_SERVER="$_tp_old_server"
    else
      unset CUPS_SERVER
    fi
  fi
  unset TUURBORD_TEST_PRINTER TUURBORD_TEST_PDF_DIR
  _tp_pid=""
  _tp_dir=""
  _tp_conf=""
  _tp_server_set=""
  _tp_had_server=""
  _tp_old_server=""
}
