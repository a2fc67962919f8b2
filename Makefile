# make run   install what is missing, build, start Tolvex
# make test  install what is missing, build, run every test
# make fuzz  build the fuzz targets with clang and run each for FUZZ_SECONDS
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
TSAN_BUILD ?= build-tsan
FUZZ_SECONDS ?= 60
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

.PHONY: all deps configure build run test test-asan test-tsan fuzz bench format format-check clean demo

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/tolvex

# make package  the two Debian packages, tolvex (desktop) and tolvex-cli (terminals and
#               servers, QtCore only), written into $(BUILD)
.PHONY: package
package: configure
	cmake --build $(BUILD) -j $(JOBS) --target tolvex tolvex-cli tolvex_data
	cd $(BUILD) && cpack -G DEB

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVEX_SANITIZE=ON \
	    -DTOLVEX_BUILD_BENCH=OFF

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	    ctest --output-on-failure -j $(JOBS)

# ThreadSanitizer over the core's tests, loopback and namespace ones: every thread the
# program starts lives in the core (lookup pool, terminal output, engines on threads of
# their own in the sandbox tests); the windows run on the GUI thread alone and are left out
# to keep CI quick. -O1 keeps the instrumented run fast. GCC's runtime, not clang 14's: the
# latter fails an internal check in its clone interceptor on every QProcess start, and the
# namespace tests start `ip` that way. Left out: the sandbox tests that run several engines
# on threads of one process and drive them through Qt's queued calls; Qt hands those over
# under a lock ThreadSanitizer cannot see, so it reports the memory the calls free and reuse
# (the program runs one engine on one thread; the terminal copies run as processes).
TSAN_FLAGS = -O1 -g -fno-omit-frame-pointer -fsanitize=thread
TSAN_EXCLUDE = ^(EngineSandbox\.|RoutedSubnets\.|HostileLan\.ACopyWhoseDevice|HostileLan\.AnnouncementsForged|Flood\.)

$(TSAN_BUILD)/build.ninja:
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE= \
	    -DCMAKE_CXX_FLAGS="$(TSAN_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread \
	    -DTOLVEX_BUILD_DESKTOP=OFF -DTOLVEX_BUILD_BENCH=OFF -DTOLVEX_BUILD_FUZZ=OFF

test-tsan: deps $(TSAN_BUILD)/build.ninja
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/scripts/tsan.supp \
	    ctest --output-on-failure -j $(JOBS) -E '$(TSAN_EXCLUDE)'

# The libraries are instrumented too (fuzzer-no-link), or libFuzzer would see no coverage
# beyond the target's own file. No build type: -O1 keeps it quick and asserts stay on.
FUZZ_FLAGS = -O1 -gline-tables-only -fno-omit-frame-pointer \
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined

$(FUZZ_BUILD)/build.ninja:
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= \
	    -DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)" -DTOLVEX_BUILD_TESTS=OFF -DTOLVEX_BUILD_BENCH=OFF \
	    -DTOLVEX_BUILD_FUZZ=ON

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

demo: build
	scripts/demo $(BUILD)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(TSAN_BUILD)
