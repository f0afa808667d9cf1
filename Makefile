# The two set-up commands: `make run` and `make test`.
BUILD_DIR ?= build
RELEASE_DIR ?= build-release
JOBS ?= 2

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
ASAN_DIR ?= build-asan
TSAN_DIR ?= build-tsan
# The identification's tests, every test that runs the search thread, the
# contact scan, which reads a large table with a second thread, and the
# engine's, whose large import builds trigram tables with one.
TSAN_TESTS ?= tst_Anrufauswertung tst_Anruflistenabgleich tst_clTabellenCache tst_Rufmon tst_Leitungsgeraete \
	tst_Fenster tst_Teamanbindung tst_Kontaktscan tst_Nummerncache tst_Jet
PACKAGE_DIR ?= build-package

.PHONY: run test wine-test deps build bench package fuzz fuzz-deps sanitize tsan clean

deps:
	@scripts/install-deps

# The benchmarks are built on their own, optimised (`make bench`).
build: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRUFMON_BUILD_BENCH=OFF >/dev/null
	cmake --build $(BUILD_DIR) -j$(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS) -LE wine

# ACT! under Wine: the bridge and a stand-in of ACT! under real Wine, on Xvfb
# with openbox. Installs wine, wine64 and mingw-w64 (x86_64) first; the test
# prefix is made once in $(BUILD_DIR)/wine-praefix.
wine-test: deps
	@scripts/install-deps --wine
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRUFMON_BUILD_BENCH=OFF >/dev/null
	cmake --build $(BUILD_DIR) -j$(JOBS) --target tst_WineACT rufmon-bruecke actstandin
	cd $(BUILD_DIR) && ctest --output-on-failure -L wine

run: build
	BUILD_DIR=$(abspath $(BUILD_DIR)) scripts/run

# Benchmarks run on an optimised build.
bench: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRUFMON_BUILD_TESTS=OFF -DRUFMON_BUILD_BENCH=ON >/dev/null
	cmake --build $(RELEASE_DIR) -j$(JOBS)

# A Debian package (Release build, installed under /usr) in $(PACKAGE_DIR).
package: deps
	@cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
		-DRUFMON_BUILD_TESTS=OFF -DRUFMON_BUILD_BENCH=OFF >/dev/null
	cmake --build $(PACKAGE_DIR) -j$(JOBS) --target package
	@ls $(PACKAGE_DIR)/*.deb

# The long mode: each fuzzer (file readers, line parsers, stream splitter,
# hand-over reader, key notation, HTTP Digest challenges) runs for FUZZ_SECONDS (clang).
fuzz: deps fuzz-deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUFMON_FUZZ=ON \
		-DRUFMON_FUZZ_SEKUNDEN=$(FUZZ_SECONDS) -DRUFMON_BUILD_TESTS=OFF -DRUFMON_BUILD_BENCH=OFF >/dev/null
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target fuzz_felddefinitionen fuzz_dbftable fuzz_tastenfolge \
		fuzz_leitungszeilen fuzz_uebergabe fuzz_anrufmonitorstrom fuzz_amistrom fuzz_digest
	cd $(FUZZ_DIR) && ctest -L long --output-on-failure

fuzz-deps:
	@scripts/install-deps --fuzz

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g0" -DRUFMON_BUILD_BENCH=OFF -DRUFMON_WINE_TEST=OFF \
		-DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
		-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	cmake --build $(ASAN_DIR) -j$(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS) -LE wine

# The identification's tests built with ThreadSanitizer: the search thread,
# the contact scan's second reader and the GUI thread share nothing
# unguarded. Qt itself is not instrumented, and its own threads (thread
# pools, the network thread) hand data over through locks the checker cannot
# see; what the uninstrumented libraries do is therefore not checked
# (ignore_noninstrumented_modules), while every access of the program's own
# code is. The program's hand-overs between threads go through locks and an
# event file descriptor of its own, which the checker sees. Some tests fork a
# child of the multi-threaded test process (die_after_fork=0).
tsan: deps
	@cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DRUFMON_BUILD_BENCH=OFF \
		-DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
		-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=thread" >/dev/null
	cmake --build $(TSAN_DIR) -j$(JOBS) --target $(TSAN_TESTS)
	cd $(TSAN_DIR) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 die_after_fork=0 suppressions=$(abspath tests/tsan.supp)" \
		ctest --output-on-failure -R "^($(shell echo $(TSAN_TESTS) | tr ' ' '|'))$$"

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR) $(FUZZ_DIR) $(ASAN_DIR) $(PACKAGE_DIR) $(TSAN_DIR)
