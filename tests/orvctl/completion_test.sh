#!/usr/bin/env bash
# shellcheck disable=SC2034,SC2317  # the stand-ins below are called by the completion
# The bash completion of orvctl: what it offers after a command line.
#   completion_test.sh PATH_TO_COMPLETION
set -u
# Stand-ins for the helpers of the bash-completion package: they set the
# variables the completion function reads.
_init_completion() {
  words=("${COMP_WORDS[@]}")
  cword=$COMP_CWORD
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD - 1]}
}
_filedir() { COMPREPLY=(FILES); }
complete() { :; }
# shellcheck source=/dev/null
source "$1"

failures=0
expect() { # "command line, the last word being completed" "offers"
  read -r -a COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _orvctl
  local got="${COMPREPLY[*]}"
  if [[ $got != "$2" ]]; then
    echo "'$1' offers '$got', expected '$2'" >&2
    failures=$((failures + 1))
  fi
}

expect "orvctl " "scan info read write config watch send"
expect "orvctl --j" "--json"
expect "orvctl -p /dev/ttyUSB0 -b 19200 --checksum w" "write watch"
expect "orvctl -b 1" "1200 19200 115200"
expect "orvctl scan --" "--from --to --baud --settle --json --csv"
expect "orvctl scan --baud 9600 --s" "--settle"
expect "orvctl write 3 --" "--channel --do --group --json --csv"
expect "orvctl info 3 --" "--json --csv"
expect "orvctl config 5 --checksum " "on off"
expect "orvctl config 5 --format t" "twos"
expect "orvctl --trace " "FILES"
expect "orvctl -p COM1" "COM1 COM10 COM11 COM12 COM13 COM14 COM15 COM16 COM17 COM18 COM19"
expect "orvctl info " ""
exit $((failures > 0))
