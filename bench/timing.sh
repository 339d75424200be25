# The benchmarks' timing helpers, sourced by their scripts (bash).

# middle: the median of the times in seconds on standard input, one a line,
# in milliseconds.
middle() {
  sort -n | awk '{ t[NR] = $1 } END { printf "%d", t[int((NR + 1) / 2)] * 1000 }'
}

# seconds COMMAND...: the wall time of one run of it.
seconds() {
  local TIMEFORMAT=%R
  { time "$@" >/dev/null 2>&1; } 2>&1
}

# runs ROUNDS BEFORE COMMAND...: the wall times of ROUNDS runs of the command,
# one a line, BEFORE run untimed before each (":" for nothing).
runs() {
  local rounds=$1 before=$2
  shift 2
  for ((run = 0; run < rounds; run++)); do
    $before
    seconds "$@"
  done
}

# median COMMAND...: the median wall time of five runs, in milliseconds.
median() {
  runs 5 : "$@" | middle
}

# alternating ROUNDS BEFORE A B: runs the commands A (BEFORE untimed before
# it) and B in turn, ROUNDS times each, so that both meet the machine alike (on
# a shared machine one run in two can be a third slower), and prints the median
# of each in milliseconds.
alternating() {
  local a=() b=()
  for ((run = 0; run < $1; run++)); do
    $2
    a+=("$(seconds "$3")")
    b+=("$(seconds "$4")")
  done
  echo "$(printf '%s\n' "${a[@]}" | middle) $(printf '%s\n' "${b[@]}" | middle)"
}
