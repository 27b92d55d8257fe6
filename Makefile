# Entry points for a fresh Debian 12 machine: `make run`, `make test` and `make bench`.
JOBS ?= $(shell nproc)
RUN_DIR ?= build
TEST_DIR ?= build-test
BENCH_DIR ?= build-release
PACKAGES = cmake make g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev \
           libgtest-dev libgmock-dev libbenchmark-dev unrtf poppler-utils xvfb xauth binutils \
           desktop-file-utils

.PHONY: deps build run test bench clean

deps:
	@tools/install-deps.sh $(PACKAGES)

# Only what `make run` starts and the station program to try it with, which lives with the
# tests' support: the tests stay configured, but no test program or benchmark is built.
build: deps
	cmake -S . -B $(RUN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNAK_BUILD_TESTS=ON
	cmake --build $(RUN_DIR) -j$(JOBS) --target varnak varnak_station

run: build
	$(RUN_DIR)/bin/varnak

test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVARNAK_SANITIZE=ON
	cmake --build $(TEST_DIR) -j$(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j$(JOBS) --timeout 300

# Optimised, and one benchmark at a time: they measure time.
bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DVARNAK_BUILD_TESTS=ON \
	      -DVARNAK_BUILD_BENCH=ON
	cmake --build $(BENCH_DIR) -j$(JOBS)
	tools/run-benchmarks.sh $(BENCH_DIR)/bin

clean:
	rm -rf $(RUN_DIR) $(TEST_DIR) $(BENCH_DIR)
