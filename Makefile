# make run  - install what is missing, build, start the program (or, with no display,
#             run the batch tool on an example)
# make test - install what is missing, build, run every test: unit tests, the same
#             tests under AddressSanitizer and UndefinedBehaviorSanitizer (the benchmarks,
#             which no test runs, are not built there), then the
#             fuzz targets for a bounded time (FUZZ_SECONDS, shared among them). The
#             unit and sanitizer runs go twice: in the environment's locale and in the
#             users' (Russian, decimal comma).
# make install - build, then install the program stripped, with its desktop entry, icon,
#                manual pages and examples (PREFIX, /usr/local unless given)
# make uninstall - remove exactly the files the last make install put in place
# make package - build, then make the Debian package in $(BUILD)/package
.PHONY: all deps build run test test-unit test-sanitize test-fuzz bench install uninstall package clean

BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
RUSSIAN = LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
JOBS ?= $(shell nproc)
EXAMPLE ?= examples/example.dat
PREFIX ?= /usr/local

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKO_GUI=ON
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD) $(EXAMPLE)

test: test-unit test-sanitize test-fuzz

test-unit: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300
	$(RUSSIAN) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300 -E "^package_"

test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELKO_SANITIZE=ON -DVELKO_GUI=ON -DVELKO_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) --timeout 300
	$(RUSSIAN) ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) --timeout 300

test-fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKO_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

uninstall:
	@bash scripts/uninstall.sh $(BUILD)

package: build
	cd $(BUILD) && cpack -G DEB -B package
	@ls $(BUILD)/package/*.deb

bench: build
	$(BUILD)/bench/velko_bench
	$(BUILD)/bench/levelling_bench
	$(BUILD)/bench/levelling_bench large
	$(BUILD)/bench/velko_charts_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
