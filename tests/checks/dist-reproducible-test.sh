#!/usr/bin/env bash
# The same exe and sources give the same zip: scripts/dist.sh run twice, into
# two folders at two different moments, makes byte-identical zips, whose
# entries are in sorted order and dated the last commit's time; one made
# with another SOURCE_DATE_EPOCH differs only there.
#   tests/checks/dist-reproducible-test.sh EXE
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1
work=$(mktemp -d /tmp/varnel-dist-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

first=$("$root/scripts/dist.sh" "$exe" "$work/first" | tail -n 1)
sleep 2 # a zip dated by the clock would now differ
second=$("$root/scripts/dist.sh" "$exe" "$work/second" | tail -n 1)
if cmp -s "$first" "$second"; then
  echo "ok: two runs give the same bytes ($(sha256sum <"$first" | cut -c1-16))"
else
  fail "two runs of scripts/dist.sh give different zips"
fi

# Entries sorted, each dated the commit's time (zip's two-second steps).
commit=$(git -C "$root" log -1 --format=%ct)
python3 - "$first" "$commit" <<'PY' || failures=$((failures + 1))
import sys, zipfile, datetime
path, commit = sys.argv[1], int(sys.argv[2])
with zipfile.ZipFile(path) as z:
    names = [i.filename for i in z.infolist()]
    bad = 0
    if names != sorted(names):
        print("FAILED: the entries are not in sorted order:", names)
        bad = 1
    want = datetime.datetime.fromtimestamp(commit, datetime.timezone.utc)
    for i in z.infolist():
        when = datetime.datetime(*i.date_time, tzinfo=datetime.timezone.utc)
        if abs((when - want).total_seconds()) >= 2:
            print(f"FAILED: {i.filename} is dated {when}, not the commit's {want}")
            bad = 1
    if not bad:
        print(f"ok: {len(names)} entries in order, all dated {want}")
    sys.exit(bad)
PY

# Another date changes the zip: the dates come from the commit, not from a
# constant that would hide a change of sources.
other=$(SOURCE_DATE_EPOCH=1000000000 "$root/scripts/dist.sh" "$exe" "$work/other" | tail -n 1)
if cmp -s "$first" "$other"; then
  fail "a zip dated otherwise is the same bytes: the date is not the commit's"
else
  echo "ok: another SOURCE_DATE_EPOCH gives another zip"
fi
[ "$failures" = 0 ] && echo "the zip is the same each time"
exit $((failures > 0))
