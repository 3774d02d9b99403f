# The two everyday commands: `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test

.PHONY: run test deps build build-test fuzz fuzz-deps screenshots bench bench-deps

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBVL_BUILD_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR)/bin && ./brimvale-edit

build-test: deps
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DBVL_BUILD_TESTS=ON -DBVL_SANITIZE=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)

test: build-test
	cd $(TEST_BUILD_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --output-on-failure -j $(JOBS)

# Fuzzing with libFuzzer (clang only; `make test` replays the committed corpora without it).
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz-deps: deps
	@scripts/install-deps.sh clang libclang-rt-14-dev

fuzz: fuzz-deps
	cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DBVL_FUZZ=ON -DBVL_BUILD_TESTS=OFF
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target fuzz_harnesses
	fuzz/run-fuzzers.sh $(FUZZ_BUILD_DIR)/fuzz $(FUZZ_SECONDS)

# Pictures of the real windows with the demo document open, in both shipped languages,
# drawn on a virtual X display into docs/.
screenshots: build
	xvfb-run -a -s "-screen 0 1400x1000x24" env QT_QPA_PLATFORM=xcb \
	    $(BUILD_DIR)/tools/bvl-screenshots $(BUILD_DIR)/bin english.sel docs
	xvfb-run -a -s "-screen 0 1400x1000x24" env QT_QPA_PLATFORM=xcb \
	    $(BUILD_DIR)/tools/bvl-screenshots $(BUILD_DIR)/bin italiano.sel docs -it

# Timings and system-call counts of reading, opening, saving and restoring generated
# documents (see the README's Benchmark section); strace counts the system calls.
BENCH_BUILD_DIR ?= build-bench

bench-deps: deps
	@scripts/install-deps.sh strace

bench: bench-deps
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBVL_BUILD_TESTS=OFF -DBVL_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS) --target bvl-bench
	QT_QPA_PLATFORM=offscreen $(BENCH_BUILD_DIR)/bench/bvl-bench
