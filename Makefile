# The two everyday commands: `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test

.PHONY: run test deps build build-test format format-check fuzz fuzz-deps screenshots bench bench-deps package package-deps

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBVL_BUILD_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR)/bin && ./brimvale-edit

# Ninja keeps both cores busy across targets, where make waits for each library before the
# next; a test folder made earlier with Makefiles keeps its generator.
TEST_GENERATOR = $(if $(wildcard $(TEST_BUILD_DIR)/Makefile),,-G Ninja)

build-test: deps
	cmake -S . -B $(TEST_BUILD_DIR) $(TEST_GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DBVL_BUILD_TESTS=ON -DBVL_SANITIZE=ON -DBVL_WERROR=ON \
	    -DBVL_SHARED_LIBS=ON -DBVL_FAULT_SEAM=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)

# The sources in the one format of .clang-format: `make format` writes it, the check
# (part of `make test`) fails on any line that differs and shows how.
FORMATTED = git ls-files -z '*.cpp' '*.h'

format: deps
	$(FORMATTED) | xargs -0 clang-format -i

format-check: deps
	$(FORMATTED) | xargs -0 clang-format --dry-run --Werror

test: format-check build-test
	rm -rf $(TEST_BUILD_DIR)/test-state
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

# Pictures of the real windows with the demo document open, in English and Italian, and of
# the main window in the other shipped languages, drawn on a virtual X display into docs/. The status line shows the setting file's full
# path, so the windows run from copies of the program's files in /opt/brimvale-edit, which
# exists only for this run: /opt is a fresh empty file system in a mount namespace of its
# own (unshare), and no path of this machine shows in a picture.
SHOT_FOLDER = /opt/brimvale-edit
SHOT = xvfb-run -a -s "-screen 0 1400x1000x24" env QT_QPA_PLATFORM=xcb $(BUILD_DIR)/tools/bvl-screenshots \
    $(BUILD_DIR)/bin $(SHOT_FOLDER)

# The main window at 200 % on a 1920 x 1080 screen, whole screen: its client area scrolls
# inside a window that fits.
SHOT_200 = xvfb-run -a -s "-screen 0 1920x1080x24" env QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 \
    $(BUILD_DIR)/tools/bvl-screenshots $(BUILD_DIR)/bin $(SHOT_FOLDER)

screenshots: build
	unshare --map-root-user --mount sh -ec 'mount -t tmpfs tmpfs /opt; \
	    $(SHOT) english.sel docs; \
	    $(SHOT) italiano.sel docs -it; \
	    $(SHOT_200) english.sel docs --screen main-200; \
	    $(SHOT) english.sel docs --font-size 150 main main-font-150; \
	    $(SHOT) deutsch.sel docs --font-size 150 editor editor-de-font-150; \
	    for l in deutsch:de espanol:es francais:fr portugues:pt polski:pl russkij:ru; do \
	        $(SHOT) $${l%%:*}.sel docs -$${l##*:} main; done'

# The Debian package, built with Debian's compiler and linker flags (hardening) into its own
# build folder, then checked: contents, lintian, the desktop and software-centre entries.
PACKAGE_BUILD_DIR ?= build-package

package-deps: deps
	@scripts/install-deps.sh dpkg-dev file lintian appstream desktop-file-utils shared-mime-info help2man

package: package-deps
	cmake -S . -B $(PACKAGE_BUILD_DIR) -DCMAKE_BUILD_TYPE=None -DBVL_BUILD_TESTS=OFF \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(PACKAGE_BUILD_DIR) -j $(JOBS)
	rm -f $(PACKAGE_BUILD_DIR)/*.deb
	cd $(PACKAGE_BUILD_DIR) && cpack -G DEB
	packaging/check-package.sh $(PACKAGE_BUILD_DIR)/brimvale-edit_*.deb

# Timings and system-call counts of reading, opening, saving and restoring generated
# documents (see the README's Benchmark section); strace counts the system calls.
BENCH_BUILD_DIR ?= build-bench

bench-deps: deps
	@scripts/install-deps.sh strace

bench: bench-deps
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBVL_BUILD_TESTS=OFF -DBVL_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS) --target bvl-bench
	QT_QPA_PLATFORM=offscreen $(BENCH_BUILD_DIR)/bench/bvl-bench
