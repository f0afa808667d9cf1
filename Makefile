# The two set-up commands: `make run` and `make test`.
BUILD_DIR ?= build
RELEASE_DIR ?= build-release
JOBS ?= 2

FUZZ_DIR ?= build-fuzz

.PHONY: run test deps build bench fuzz clean

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(BUILD_DIR) -j$(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)

run: build
	BUILD_DIR=$(abspath $(BUILD_DIR)) scripts/run

# Benchmarks run on an optimised build.
bench: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRUFMON_BUILD_TESTS=OFF -DRUFMON_BUILD_BENCH=ON >/dev/null
	cmake --build $(RELEASE_DIR) -j$(JOBS)

# The long mode: each fuzzer (file readers, line parsers, key notation) runs for a minute (clang).
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUFMON_FUZZ=ON \
		-DRUFMON_BUILD_TESTS=OFF -DRUFMON_BUILD_BENCH=OFF >/dev/null
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target fuzz_felddefinitionen fuzz_dbftable fuzz_tastenfolge fuzz_leitungszeilen
	cd $(FUZZ_DIR) && ctest -L long --output-on-failure

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR) $(FUZZ_DIR)
