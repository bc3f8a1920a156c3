#!/usr/bin/env bash
# The print system the printing tests print through: CUPS with its PDF printer (cups-pdf), the
# queue "PDF", which cups-pdf writes each job of as a PDF file into ~/PDF of the user printing.
# No queue is made the system's default: the tests choose the default printer through the
# environment (PRINTER=PDF), so that they can also see printers with none chosen.
#   scripts/print-system.sh start   start the scheduler when it does not run; add the queue
#   scripts/print-system.sh stop    stop the scheduler if `start` started it
# The packages (cups, printer-driver-cups-pdf) come from scripts/debian-packages. Needs root to
# start the scheduler and add the queue; where that fails the printing tests skip, saying why.
set -euo pipefail
started=/tmp/salary-print-system.started

running() { lpstat -r 2>/dev/null | grep -q "is running"; }

case "${1:-}" in
  start)
    if ! running; then
      /usr/sbin/cupsd
      touch "$started"
      for _ in $(seq 50); do running && break; sleep 0.2; done
      running || { echo "print system: the CUPS scheduler did not start" >&2; exit 1; }
    fi
    if ! lpstat -p PDF >/dev/null 2>&1; then
      lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
    fi
    # cups-pdf takes PostScript: the job's PDF is turned into it on the way. Through cairo the
    # Chinese text comes out of the printed PDF again as text; through Ghostscript or poppler
    # it comes out as glyphs with no characters behind them.
    lpadmin -p PDF -o pdftops-renderer-default=pdftocairo
    echo "print system: CUPS runs with the printer PDF (its jobs go to ~/PDF)"
    ;;
  stop)
    if [ -e "$started" ]; then
      rm -f "$started"
      pkill -x cupsd || true
    fi
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
