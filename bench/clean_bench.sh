#!/usr/bin/env bash
# The clean of large profiles against the same work done natively, in one run: the profiles that
# bench/profiles_bench.sh inflated, laid afresh before every timed step (the device quiet after),
# the order alternating from round to round:
#   purgeon.exe /clean browsers in a throwaway prefix, as a user or a scheduled task starts it
#     (Wine's start-up included);
#   bench/native_clean.py on a copy in a Linux folder: the files that clean removed, each
#     overwritten once, flushed and removed, four at a time (the reference); the SQLite files it
#     changed, their tables emptied with the journal kept in place, compacted, the journal
#     overwritten and removed;
#   the same native work with as many files in flight as Purgeon keeps (kFlushThreads);
#   bench/shred_floor.cpp in the prefix: the files part alone, with nothing done to each file but
#     what the native side does (open, overwrite, flush, remove), as many at a time as Purgeon:
#     what Wine's own costs leave as the least the clean's files can take.
# Which files those are is found first, by an untimed clean of the same profiles. Before the
# cleans, purgeon.exe /preview browsers is timed against /help (Wine's start-up) and against the
# same counts made natively (native_clean.py --count). Prints each round, the medians and ratios.
# Usage: bench/clean_bench.sh [rounds (3)]   (after bench/profiles_bench.sh; needs no display)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/common.sh"
rounds=${1:-3}
inflated="$root/build/bench-profiles/inflated"
[ -d "$inflated/Local" ] || { echo "inflate the profiles first: bench/profiles_bench.sh" >&2; exit 1; }
cmake --preset windows >/dev/null
cmake --build --preset windows --target purgeon purgeon_shred_floor >/dev/null
exe="$root/build/windows/app/win32/purgeon.exe"
# The files Purgeon keeps in flight at once.
in_flight=$(sed -n 's/.*kFlushThreads = \([0-9]*\);.*/\1/p' "$root/wipe/shred_batch.h")
[ -n "$in_flight" ] || { echo "kFlushThreads not found in wipe/shred_batch.h" >&2; exit 1; }
floor_exe="$root/build/windows/bench/purgeon_shred_floor.exe"

work="$root/build/bench-clean"
rm -rf "$work"
mkdir -p "$work/native"
export WINEPREFIX="$work/prefix" HOME="$work/home"
trap wine_down EXIT
wine_up
app_data=$(dirname "$(shell_folder 'Local AppData')")
app_data_windows=$(winepath -w "$app_data" 2>/dev/null | tr -d '\r')
mapfile -t tops < <(cd "$inflated" && find Local Roaming -mindepth 1 -maxdepth 1)

# The inflated profiles, afresh, below the given AppData folder.
lay() {
    local top
    for top in "${tops[@]}"; do rm -rf "${1:?}/$top"; done
    cp -a "$inflated/Local/." "$1/Local/"
    cp -a "$inflated/Roaming/." "$1/Roaming/"
    sync
    sleep 2
}
snapshot() { (cd "$app_data" && find "${tops[@]}" -type f -printf '%p\t%T@\n' | sort); }
seconds() { { /usr/bin/time -f '%e' "$@" 2>&1 >/dev/null || true; } | tail -n 1; }
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }

echo "== what the clean removes and changes"
mkdir -p "$work/native/Local" "$work/native/Roaming"
lay "$app_data"
snapshot >"$work/before.txt"
wine "$exe" /clean browsers >"$work/first-clean.txt" 2>&1 || true
snapshot >"$work/after.txt"
join -t $'\t' -v 1 <(cut -f1 "$work/before.txt") <(cut -f1 "$work/after.txt") >"$work/removed.txt"
join -t $'\t' "$work/before.txt" "$work/after.txt" | awk -F'\t' '$2 != $3 {print $1}' |
    while IFS= read -r file; do
        [ "$(head -c 15 "$app_data/$file")" = "SQLite format 3" ] && echo "$file"
    done >"$work/databases.txt" || true
echo "$(wc -l <"$work/removed.txt") files removed, $(wc -l <"$work/databases.txt") databases changed"
tr -d '\r' <"$work/first-clean.txt" | tail -n 3

echo "== the preview (what Clean Now counts before it asks), the profiles laid once"
lay "$app_data"
lay "$work/native"
declare -a previews=() helps=() counts=()
for ((round = 0; round < rounds; round++)); do
    previews+=("$(seconds wine "$exe" /preview browsers)")
    helps+=("$(seconds wine "$exe" /help)")
    counts+=("$(seconds python3 "$root/bench/native_clean.py" --count "$work/native" \
        "$work/removed.txt" "$work/databases.txt")")
    echo "round $((round + 1)): purgeon.exe /preview browsers ${previews[-1]} s, /help" \
         "${helps[-1]} s (Wine's start-up), the same counts natively ${counts[-1]} s"
done
p=$(median "${previews[@]}")
h=$(median "${helps[@]}")
c=$(median "${counts[@]}")
echo "medians: /preview $p s, /help $h s, native $c s; /preview against native $(ratio "$p" "$c")," \
     "less Wine's start-up $(ratio "$(python3 -c "print(max($p - $h, 0.001))")" "$c")"
echo

declare -a ours=() native=() paired=() floor=() native_files=() native_databases=() same=()
steps=(ours native same floor)
for ((round = 0; round < rounds; round++)); do
    for ((i = 0; i < ${#steps[@]}; i++)); do
        case ${steps[(round + i) % ${#steps[@]}]} in
            ours)
                lay "$app_data"
                ours+=("$(seconds wine "$exe" /clean browsers)")
                ;;
            same)
                lay "$work/native"
                said=$(python3 "$root/bench/native_clean.py" --threads "$in_flight" \
                    "$work/native" "$work/removed.txt" "$work/databases.txt")
                same+=("$(sed -n 's/.*files \([0-9.]*\) s.*/\1/p' <<<"$said")")
                ;;
            native)
                lay "$work/native"
                said=$(/usr/bin/time -f '%e' -o "$work/time.txt" python3 \
                    "$root/bench/native_clean.py" "$work/native" "$work/removed.txt" \
                    "$work/databases.txt")
                native+=("$(tail -n 1 "$work/time.txt")")
                native_databases+=("$(sed -n 's/.*databases \([0-9.]*\) s.*/\1/p' <<<"$said")")
                native_files+=("$(sed -n 's/.*files \([0-9.]*\) s.*/\1/p' <<<"$said")")
                ;;
            floor)
                lay "$app_data"
                said=$(wine "$floor_exe" "$in_flight" "$app_data_windows" "$work/removed.txt" |
                    tr -d '\r' || true)
                floor+=("$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' <<<"$said")")
                # A floor that skipped files would be no floor: say so with its figure.
                missed=$(sed -n 's/.*failed=\([0-9]*\).*/\1/p' <<<"$said")
                [ "${missed:-1}" = 0 ] || echo "the floor could not do ${missed:-all} of its files"
                ;;
        esac
    done
    paired+=("$(ratio "${ours[-1]}" "${native[-1]}")")
    echo "round $((round + 1)): purgeon.exe ${ours[-1]} s, native ${native[-1]} s" \
         "(databases ${native_databases[-1]} s, files ${native_files[-1]} s; files" \
         "$in_flight at a time ${same[-1]} s), Wine's floor for the files ${floor[-1]} s;" \
         "ratio ${paired[-1]}"
done
o=$(median "${ours[@]}")
n=$(median "${native[@]}")
nf=$(median "${native_files[@]}")
nd=$(median "${native_databases[@]}")
f=$(median "${floor[@]}")
ns=$(median "${same[@]}")
echo
echo "== the clean of the inflated profiles (median of $rounds)"
echo "purgeon.exe /clean browsers $o s; the same work natively $n s; ratio $(ratio "$o" "$n")" \
     "(goal: 1.3 or less); the median of each round's own ratio: $(median "${paired[@]}")"
echo "Purgeon keeps $in_flight files in flight, the reference four; natively with $in_flight the" \
     "files take $ns s (four: $nf s), and purgeon.exe against that native work" \
     "($ns + $nd s): $(ratio "$o" "$(python3 -c "print($ns + $nd)")")"
echo "the files alone, $in_flight at a time: Wine's floor $f s, natively $ns s: ratio" \
     "$(ratio "$f" "$ns")"
echo "purgeon.exe against Wine's floor for the files plus the databases at native speed" \
     "($f + $nd s): $(ratio "$o" "$(python3 -c "print($f + $nd)")")"
