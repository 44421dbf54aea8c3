# Sourced by the benches that time whole runs of purgeon.exe: one run's wall time, and a median.
# time_run EXE ARGS...: the seconds the run took; its output goes nowhere, its failure is no stop.
time_run() {
    local start end
    start=$(date +%s.%N)
    wine "$@" >/dev/null 2>&1 </dev/null || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
