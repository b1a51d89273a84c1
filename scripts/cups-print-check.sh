#!/usr/bin/env bash
# Prints the chart page through a real CUPS queue that writes PDF files
# (cups-pdf) and checks the file it makes: the viewer's own print command,
# driven by the app tests' ChartPrintingCups case.
#
#   scripts/cups-print-check.sh [APP_TESTS]
#
# APP_TESTS is the app_tests binary (default build/bin/app_tests). Starts
# the CUPS scheduler when it is not running and adds the queue LumidraxPDF
# (device cups-pdf:/) when it is missing; both need root. Exits 77, which
# CTest counts as skipped, when CUPS, cups-pdf or poppler-utils is missing
# or the scheduler cannot be started or the queue cannot be made.

set -u

QUEUE=${LUMIDRAX_CUPS_QUEUE:-LumidraxPDF}
here=$(cd "$(dirname "$0")" && pwd)
tests=${1:-$here/../build/bin/app_tests}

skip() {
  echo "SKIPPED: $*" >&2
  echo "  (Debian: apt-get install cups cups-pdf poppler-utils, run as root)" >&2
  exit 77
}

export PATH=$PATH:/usr/sbin
for tool in cupsd lpstat lpadmin pdftotext pdfinfo; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -e /usr/lib/cups/backend/cups-pdf ] || skip "the cups-pdf backend is not installed"
[ -x "$tests" ] || { echo "no app_tests binary at $tests" >&2; exit 1; }

if ! lpstat -r >/dev/null 2>&1 || ! lpstat -r | grep -q "is running"; then
  [ "$(id -u)" -eq 0 ] || skip "the CUPS scheduler is not running and only root can start it"
  cupsd >/dev/null 2>&1 || skip "cupsd could not be started"
  for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.2
  done
  lpstat -r 2>/dev/null | grep -q "is running" || skip "cupsd started but the scheduler does not answer"
fi

if ! lpstat -v "$QUEUE" 2>/dev/null | grep -q "cups-pdf:/"; then
  [ "$(id -u)" -eq 0 ] || skip "there is no cups-pdf queue $QUEUE and only root can add one"
  ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null | head -n 1)
  lpadmin -p "$QUEUE" -E -v cups-pdf:/ ${ppd:+-P "$ppd"} >/dev/null 2>&1 ||
    skip "the queue $QUEUE could not be added"
fi
lpstat -a "$QUEUE" 2>/dev/null | grep -q "accepting" || skip "the queue $QUEUE does not accept jobs"

# cups-pdf writes into the "Out" folder of its configuration, ${HOME}/PDF
# unless the configuration says otherwise.
out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
out=${out:-'${HOME}/PDF'}
out=${out//'${HOME}'/$HOME}
mkdir -p "$out"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
LUMIDRAX_CUPS_QUEUE=$QUEUE LUMIDRAX_CUPS_OUT=$out QT_QPA_PLATFORM=offscreen \
  "$tests" --gtest_filter='ChartPrintingCups.*' 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
if [ "$rc" -eq 0 ] && grep -q '^\[  SKIPPED \]' "$log"; then
  exit 77
fi
grep -q '^\[  PASSED  \] 1 test' "$log" || [ "$rc" -ne 0 ] || { echo "the check did not run" >&2; exit 1; }
exit "$rc"
