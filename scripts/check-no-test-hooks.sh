#!/usr/bin/env bash
# Checks that a program carries none of the end-to-end test hooks: no name of
# an environment variable they read, no name of the message they answer.
#   check-no-test-hooks.sh <program.exe> [<test-build.exe>]
# Given the test build as well, checks that the same search finds the hooks
# there, so a search that finds nothing cannot pass by accident.
set -euo pipefail
marks=(TERVIK_E2E_FTP_HOST TERVIK_E2E_FTP_PORT TERVIK_E2E_FTP_USER TERVIK_E2E_WEB_URL TERVIK_E2E_CHECK_MS
       TERVIK_E2E_RETRY_MS TERVIK_E2E_DEADLINE_MS TERVIK_E2E_CLOCK TERVIK_E2E_TRAY_LOG TERVIK_E2E_TRAY_FAILS
       TERVIK_E2E_REPORT TERVIK_E2E_FORECAST_URL
       "Tervik e2e report")
status=0
for mark in "${marks[@]}"; do
  if grep -aqF "$mark" "$1"; then
    echo "$1 names \"$mark\""
    status=1
  fi
  if [ $# -ge 2 ] && ! grep -aqF "$mark" "$2"; then
    echo "the search does not find \"$mark\" in $2 either"
    status=1
  fi
done
[ $status -eq 0 ] && echo "no test hooks in $1"
exit $status
