# Thin entry points over CMake and the scripts in scripts/.
#   make demo   build natively and run the example script in the substitute host
#   make try    build natively and open the full-screen substitute host
#   make test   install what is missing, build every way, run every suite
#   make fuzz   run every libFuzzer target for FUZZ_SECONDS (default 300) each
#   make dist   the plug-in folders for users: dist/Tarnwick/ (32-bit) and
#               dist/Tarnwick64/ (64-bit), and a zip of each
#   make bench  build in Release and print the table of doc/performance.md
#   make bench-wine  the same table from the 32-bit Windows build under Wine
#   make bench-accuracy  where stored places come back in files changed between
#                two openings, on pairs of revisions from this repository's history

ROOT := $(CURDIR)
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: demo try test dist fuzz bench bench-wine bench-accuracy clean

demo:
	@scripts/install-deps.sh native
	@cmake -S $(ROOT) -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build/native -j $(JOBS) --target tarnwick-host Tarnwick >/dev/null
	@build/native/host/tarnwick-host --script examples/demo.tws

try:
	@scripts/install-deps.sh native
	@cmake -S $(ROOT) -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build/native -j $(JOBS) --target tarnwick-host Tarnwick >/dev/null
	@build/native/host/tarnwick-host --tui

test:
	@scripts/test.sh

# Every fuzz target for FUZZ_SECONDS seconds each (default 300).
fuzz:
	@scripts/install-deps.sh all
	@scripts/fuzz.sh

# The events through the exports beside their baselines, one table
# (BENCH_REPETITIONS runs of each, medians; default 5).
BENCH_REPETITIONS ?= 5
bench:
	@scripts/install-deps.sh native
	@cmake -S $(ROOT) -B build/release -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BENCH=ON -DTARNWICK_TESTS=OFF >/dev/null
	@cmake --build build/release -j $(JOBS) --target tarnwick_bench tarnwick-host Tarnwick >/dev/null
	@scripts/bench-session.sh build/release > build/release/bench/session.txt
	@scripts/bench-table.py build/release --repetitions $(BENCH_REPETITIONS) --session build/release/bench/session.txt

# Pairs of consecutive revisions of this repository's text files
# (ACCURACY_PAIRS of them, ACCURACY_LINES places stored in each), one table.
ACCURACY_PAIRS ?= 150
ACCURACY_LINES ?= 30
bench-accuracy:
	@scripts/install-deps.sh native
	@cmake -S $(ROOT) -B build/release -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BENCH=ON -DTARNWICK_TESTS=OFF >/dev/null
	@cmake --build build/release -j $(JOBS) --target tarnwick_accuracy >/dev/null
	@scripts/bench-accuracy.py build/release --pairs $(ACCURACY_PAIRS) --lines $(ACCURACY_LINES)

# tarnwick_bench as a 32-bit Windows program under Wine, Google Benchmark
# cross-built for it in build/ (no host-session row).
bench-wine:
	@BENCH_REPETITIONS=$(BENCH_REPETITIONS) scripts/bench-wine.sh

dist:
	@scripts/make-dist.sh

clean:
	rm -rf build dist
