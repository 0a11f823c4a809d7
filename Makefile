# Zentrix: `make run` and `make test` do all the set-up on a fresh Debian machine.
BUILD_DIR ?= build
BENCH_DIR ?= build-bench
BUILD_TYPE ?= RelWithDebInfo
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
# Seconds each fuzz target runs in `make fuzz`, on top of its committed corpus.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = history_bytes editor_fields cli predictions
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test test-sanitize fuzz bench bench-wheels wheel-table sweep package package-check clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Starts the program in this folder, where its data file Loto6data.dt lives.
run: build
	./$(BUILD_DIR)/src/app/zentrix

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The whole suite, GUI tests included, under AddressSanitizer and UBSan: the first error stops the
# test with a stack trace, and leaks fail it. tests/lsan.supp names the few leaks that are not ours.
SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:detect_leaks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

test-sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DZENTRIX_SANITIZE=ON -DZENTRIX_BUILD_BENCH=OFF > /dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS on a scratch copy of its corpus (the committed corpus stays
# as it is). A crash, a sanitizer report, a broken property or a 10-second input fails the run and
# leaves the input in $(FUZZ_DIR)/findings/<target>/. Paths are absolute: the cli target works in
# a folder of its own.
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DZENTRIX_FUZZ=ON -DZENTRIX_BUILD_GUI=OFF -DZENTRIX_BUILD_TESTS=OFF -DZENTRIX_BUILD_BENCH=OFF > /dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do \
		bin=$(FUZZ_DIR)/fuzz/fuzz_$$t; [ -x "$$bin" ] || continue; \
		work=$(abspath $(FUZZ_DIR))/corpus-run/$$t; out=$(abspath $(FUZZ_DIR))/findings/$$t; \
		rm -rf "$$work" "$$out"; mkdir -p "$$work" "$$out"; cp fuzz/corpus/$$t/* "$$work"/; \
		echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
		"$$bin" -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
			-artifact_prefix="$$out/" "$$work" > $(FUZZ_DIR)/fuzz_$$t.log 2>&1 \
			|| { tail -n 60 $(FUZZ_DIR)/fuzz_$$t.log; echo "fuzz: $$t FAILED, input in $$out"; exit 1; }; \
		grep -E "stat::number_of_executed_units|stat::average_exec_per_sec" $(FUZZ_DIR)/fuzz_$$t.log \
			| sed "s/^/fuzz: $$t /"; \
		echo "fuzz: $$t corpus $$(ls fuzz/corpus/$$t | wc -l) seeds -> $$(ls $$work | wc -l) inputs"; \
	done

bench: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRIX_BUILD_TESTS=OFF > /dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bench/zentrix_bench_*; do [ -x "$$b" ] || continue; "$$b" || exit 1; done

# The Debian package of this build, zentrix_<version>_<arch>.deb, built by CPack and copied here:
# sudo apt install ./zentrix_*.deb
package: build
	@rm -f $(BUILD_DIR)/zentrix_*.deb
	@cd $(BUILD_DIR) && cpack -G DEB > cpack.log 2>&1 || { cat cpack.log; exit 1; }
	@deb=$$(cd $(BUILD_DIR) && ls zentrix_*.deb) && cp $(BUILD_DIR)/$$deb . && echo "package: $$deb"

# Builds the package and checks it: contents, lintian, AppStream, and the tree it installs.
package-check: package
	tests/package/check-package.sh $(BUILD_DIR)/zentrix_*.deb \
		$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BUILD_DIR)/CMakeCache.txt)

# Wheels against the published covering sizes: every cell up to 10 s (ZENTRIX_WHEEL_SECONDS to
# change it), minutes in all. The sizes and times go into docs/wheels.md.
bench-wheels: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRIX_BUILD_TESTS=OFF > /dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target zentrix_wheel_table
	$(BENCH_DIR)/bench/zentrix_wheel_table

# The wheels built into the program: every cell of WHEEL_TABLE_CELLS ("t/m:v1-v2", no key numbers)
# searched WHEEL_TABLE_SEEDS times for WHEEL_TABLE_SECONDS each; data/wheels/best-wheels.txt keeps
# the smallest proved design per cell, so repeated runs only improve it (cells already at the
# published size are skipped). Commit the file afterwards; the next build embeds it.
WHEEL_TABLE_SECONDS ?= 120
WHEEL_TABLE_SEEDS ?= 2
WHEEL_TABLE_CELLS ?= 3/3:7-20 4/4:7-20
# WHEEL_TABLE_ORBIT=1 searches designs made of whole orbits of cyclic shifts first (covering cells
# only), each group for WHEEL_TABLE_ORBIT_SECONDS, and finishes the smallest with the free search.
WHEEL_TABLE_ORBIT ?=
WHEEL_TABLE_ORBIT_SECONDS ?= 10
wheel-table: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRIX_BUILD_TESTS=OFF > /dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target zentrix_wheel_best
	$(BENCH_DIR)/bench/zentrix_wheel_best --out data/wheels/best-wheels.txt --seconds $(WHEEL_TABLE_SECONDS) \
		--seeds $(WHEEL_TABLE_SEEDS) $(if $(WHEEL_TABLE_ORBIT),--orbit --orbit-seconds $(WHEEL_TABLE_ORBIT_SECONDS)) \
		$(WHEEL_TABLE_CELLS)

# Every Latest from 2 to the end of the real history, with the draws up to it, and every setting:
# the way each run draws (attempt loop or direct sampler) and what it costs, with whole runs timed
# every STRIDE draws to show the cost predicts the time. A few minutes; not part of `make test`.
STRIDE ?= 100
sweep: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRIX_BUILD_TESTS=OFF > /dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target zentrix_sweep
	STRIDE=$(STRIDE) $(BENCH_DIR)/bench/zentrix_sweep

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR) $(ASAN_DIR) $(FUZZ_DIR)
