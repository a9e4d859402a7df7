#!/usr/bin/env bash
# Builds the engine's libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs it for the given
# number of minutes on every core, seeded with the SWF corpus and the kept
# regression inputs. New inputs go to a fresh work folder outside the
# repository; at the end it prints the executions, coverage and findings,
# and exits non-zero when there is any finding (crash, leak, timeout or
# running out of memory). Leaks inside fontconfig are not counted
# (fuzz/lsan-suppressions.txt).
#
# Usage: scripts/fuzz.sh [MINUTES]   (30 unless given)
# Environment:
#   FUZZ_BUILD_DIR  build folder (build-fuzz)
#   FUZZ_TARGET     target in fuzz/ (fuzz_movie)
#   FUZZ_JOBS       fuzzing processes (the number of cores)
#   FUZZ_WORK_DIR   where new inputs, findings and the log go (a new
#                   folder under ${TMPDIR:-/tmp})
#   BUILD_WRAPPER   a command to run the build under, e.g. a lock shared
#                   with other builds on the machine
#   PAVOKO_CORPUS_DIR  the seed movies (../shared/corpus beside the repository)
# On a machine shared with others, run it as `nice -n 19 bash scripts/fuzz.sh 30`.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-30}
if ! [[ $minutes =~ ^[0-9]+$ ]] || [ "$minutes" -lt 1 ]; then
  echo "usage: scripts/fuzz.sh [MINUTES]" >&2
  exit 2
fi
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
target=${FUZZ_TARGET:-fuzz_movie}
jobs=${FUZZ_JOBS:-$(nproc)}
corpus_dir=${PAVOKO_CORPUS_DIR:-$(pwd)/../shared/corpus}
work_dir=${FUZZ_WORK_DIR:-$(mktemp -d "${TMPDIR:-/tmp}/pavoko-fuzz.XXXXXX")}
read -r -a build_wrapper <<<"${BUILD_WRAPPER:-}"

# libFuzzer's runtime comes with clang's sanitizer libraries, which
# Debian 12 packages apart from the compiler.
links_fuzzer() {
  local probe
  probe=$(mktemp -d)
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' \
    >"$probe/probe.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1
  local status=$?
  rm -rf "$probe"
  return $status
}

if ! command -v clang++ >/dev/null || ! links_fuzzer; then
  echo "Installing clang and its fuzzer runtime"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends clang libclang-rt-14-dev
  links_fuzzer || { echo "clang cannot link a libFuzzer program" >&2; exit 2; }
fi

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DPAVOKO_FUZZ=ON -DPAVOKO_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
"${build_wrapper[@]}" cmake --build "$build_dir" --target "$target"
fuzzer=$(pwd)/$build_dir/fuzz/$target

# Seeds: the corpus's movies (not its reference pictures and lists) and
# the inputs that once broke the engine.
mkdir -p "$work_dir/new" "$work_dir/seeds" "$work_dir/findings"
if [ -d "$corpus_dir" ]; then
  find "$corpus_dir" -type f -iname '*.swf' -print0 |
    while IFS= read -r -d '' movie; do
      ln -s "$movie" "$work_dir/seeds/$(sha1sum <"$movie" | cut -c1-16).swf" 2>/dev/null || true
    done
else
  echo "No corpus at $corpus_dir: seeding with the kept regression inputs only"
fi
cp tests/swf/fuzz_regressions/* "$work_dir/seeds/"
echo "Fuzzing $target for $minutes minute(s), $jobs job(s), $(ls "$work_dir/seeds" | wc -l) seeds; work in $work_dir"

log=$work_dir/fuzz.log
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(pwd)/fuzz/lsan-suppressions.txt:print_suppressions=0}
(
  cd "$work_dir"
  "$fuzzer" -fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time=$((minutes * 60)) -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix="$work_dir/findings/" new seeds
) >"$log" 2>&1 || true

# The last status line holds the totals, e.g.
# "#123456: cov: 3100 ft: 14000 corp: 2100/20Mb exec/s: 400 oom/timeout/crash: 0/0/0 time: 1800s ..."
status=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
if [ -z "$status" ]; then
  echo "The fuzzer stopped before its first status line; see $log"
  tail -n 20 "$log"
  exit 2
fi
field() { sed -nE "s|.* $1:? +([^ ]+).*|\1|p" <<<"$status"; }
echo "executions: ${status%%:*}" | tr -d '#'
echo "cov: $(field cov), features (ft): $(field ft), corpus: $(field corp)"
echo "exec/s: $(field exec/s), oom/timeout/crash: $(field oom/timeout/crash), time: $(field time)"
# Inputs slower than libFuzzer's ten seconds are worth a look, but only a
# timeout (over 30 seconds) counts as a finding.
mapfile -t slow < <(find "$work_dir/findings" -type f -name 'slow-unit-*' | sort)
if [ ${#slow[@]} -gt 0 ]; then
  echo "${#slow[@]} slow input(s):"
  printf '  %s\n' "${slow[@]}"
fi

# libFuzzer's timeout runs on the wall clock, so on a busy machine a slow
# input can pass for a hung one; and LeakSanitizer's own tracer now and
# then dies in its check between inputs, which leaves a crash with no
# input. Each finding is therefore run again alone: only what fails again
# counts. What does not is listed, for a look.
reproduces() {
  "$fuzzer" -timeout=30 -rss_limit_mb=2048 "$1" >"$1.replay.log" 2>&1 && return 1
  return 0
}
mapfile -t findings < <(find "$work_dir/findings" -type f ! -name 'slow-unit-*' ! -name '*.replay.log' | sort)
confirmed=()
unconfirmed=()
for finding in "${findings[@]}"; do
  if reproduces "$finding"; then
    confirmed+=("$finding")
  else
    unconfirmed+=("$finding")
  fi
done
if [ ${#unconfirmed[@]} -gt 0 ]; then
  echo "${#unconfirmed[@]} finding(s) that did not fail again when run alone:"
  printf '  %s\n' "${unconfirmed[@]}"
fi
if [ ${#confirmed[@]} -gt 0 ]; then
  echo "${#confirmed[@]} finding(s):"
  for finding in "${confirmed[@]}"; do
    echo "  $finding (replay: $finding.replay.log)"
  done
  echo "Log: $log"
  exit 1
fi
echo "No findings. Log: $log"
