# Zentrix: `make run` and `make test` do all the set-up on a fresh Debian machine.
BUILD_DIR ?= build
BENCH_DIR ?= build-bench
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test bench clean

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

bench: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTRIX_BUILD_TESTS=OFF > /dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bench/zentrix_bench_*; do [ -x "$$b" ] || continue; "$$b" || exit 1; done

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)
