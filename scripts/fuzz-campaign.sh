#!/usr/bin/env bash
# Runs one fuzz target for a long stretch and reports what it did. The corpus it grows is
# kept between runs (FUZZ_CAMPAIGN_DIR, by default ~/.cache/rirerazo-fuzz/<target>), so a
# campaign can be run in parts whose times add up. Anything found is written to
# <that folder>/findings and the run stops there with status 1.
#   scripts/fuzz-campaign.sh fuzz_play_script 30      # thirty minutes
#   scripts/fuzz-campaign.sh --report                  # every target's parts added up
# Needs build-fuzz (scripts/fuzz-smoke.sh or the contributing guide builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
campaigns=${FUZZ_CAMPAIGN_DIR:-$HOME/.cache/rirerazo-fuzz}

# A Markdown table of every campaign: times and runs added over its parts, the last part's
# coverage, features and corpus, the largest memory, and the findings.
report() {
  echo "| target | parts | wall | CPU | runs | cov | ft | corpus | peak RSS | findings |"
  echo "|---|---|---|---|---|---|---|---|---|---|"
  cat "$campaigns"/*/campaign.txt 2>/dev/null | awk '
    { t = $1; sub(":", "", t); n[t]++
      for (i = 2; i <= NF; i++) {
        if ($i == "wall") wall[t] += $(i + 1); if ($i == "cpu") cpu[t] += $(i + 1)
        if ($i == "runs,") runs[t] += $(i - 1); if ($i == "cov") cov[t] = $(i + 1) + 0
        if ($i == "ft") ft[t] = $(i + 1) + 0; if ($i == "corpus") corpus[t] = $(i + 1)
        if ($i == "rss" && $(i + 1) + 0 > rss[t]) rss[t] = $(i + 1) + 0
        if ($i == "FINDING") found[t]++ } }
    END { for (t in n) printf "| `%s` | %d | %d min | %d min | %d | %d | %d | %d | %d MB | %d |\n",
            t, n[t], wall[t] / 60, cpu[t] / 60, runs[t], cov[t], ft[t], corpus[t], rss[t],
            found[t] }' | sort
}
if [[ ${1:-} == --report ]]; then report; exit 0; fi
if [[ $# -ne 2 || ! $2 =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 TARGET MINUTES" >&2; exit 2
fi
target=$1 minutes=$2
source scripts/fuzz-targets.sh
binary=$(fuzz_target_binary "$target")
[[ -n $binary ]] || { echo "$target: no such fuzz target in build-fuzz" >&2; exit 2; }

home=$campaigns/$target
mkdir -p "$home/corpus" "$home/findings"
mapfile -t inputs < <(fuzz_target_inputs "$target")
mapfile -t options < <(fuzz_target_options "$target")
options+=(-max_total_time=$((minutes * 60)) -artifact_prefix="$home/findings/")
log="$home/run-$(date -u +%Y%m%dT%H%M%SZ).log"

TIMEFORMAT='%R %U %S'
status=0
{ time nice -n 10 "$binary" "${options[@]}" "$home/corpus" "${inputs[@]}" > "$log" 2>&1; } \
    2> "$log.time" || status=$?
read -r wall user system < "$log.time"

done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)
[[ -n $done_line ]] || done_line=$(grep -E '^#[0-9]+[[:space:]]' "$log" | tail -1 || true)
coverage=$(grep -o 'cov: [0-9]*' <<< "$done_line" | grep -o '[0-9]*' || echo '?')
features=$(grep -o 'ft: [0-9]*' <<< "$done_line" | grep -o '[0-9]*' || echo '?')
summary="$target: $(date -u +%FT%TZ) wall ${wall%.*} s, cpu $(awk "BEGIN{printf \"%d\", $user+$system}") s,"
summary+=" $(fuzz_log_stat "$log" number_of_executed_units) runs,"
summary+=" $(fuzz_log_stat "$log" average_exec_per_sec)/s,"
summary+=" cov $coverage, ft $features, corpus $(ls "$home/corpus" | wc -l) files,"
summary+=" peak rss $(fuzz_log_stat "$log" peak_rss_mb) MB"
if [[ $status -ne 0 ]]; then
  summary+=", FINDING (status $status): $(ls -t "$home/findings" | head -1)"
fi
echo "$summary" | tee -a "$home/campaign.txt"
exit $((status != 0))
