# make run   install what is missing, build, start Tolvex
# make test  install what is missing, build, run every test
# make fuzz  build the fuzz targets with clang and run each for FUZZ_SECONDS
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

.PHONY: all deps configure build run test test-asan fuzz bench format format-check clean demo

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

# make package  the Debian package (.deb) of the two programs, written into $(BUILD)
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
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
