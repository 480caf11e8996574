# Shell functions of the scripts that run against orvsim. Source this file.

# orvsim_line ORVSIM LINK LOG [ARGS...]: starts orvsim in the background with
# its line linked at LINK and its output in LOG, sets orvsim_pid, and waits
# until the link is there (status 1, with orvsim's output, if it never comes).
orvsim_line() {
  local orvsim=$1 link=$2 log=$3
  shift 3
  "$orvsim" "$@" --link "$link" >"$log" 2>&1 &
  orvsim_pid=$!
  for _ in $(seq 50); do
    [ -e "$link" ] && return 0
    sleep 0.1
  done
  echo "orvsim made no line: $(cat "$log")" >&2
  return 1
}

# com1_on CONFIG_HOME LINK: a config directory whose ports.conf maps COM1 to LINK.
com1_on() {
  mkdir -p "$1/orvane"
  echo "COM1=$2" >"$1/orvane/ports.conf"
}
