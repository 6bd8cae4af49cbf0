# Everyday targets. Each one installs what it needs first (scripts/install-deps.sh
# skips packages that are already present).
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME  ?= 60
FUZZ_RUNS  ?= 0
FUZZ_TARGETS ?= fuzz_expr fuzz_project fuzz_picture fuzz_extraction
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
# Warnings are fatal in our own builds (tests, sanitizers, CI); the CMake
# option is off for everyone else. `make build WERROR=OFF` to see them only.
WERROR     ?= ON

.PHONY: all deps build test asan bench fuzz run format clean

all: build

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQF_WERROR=$(WERROR)
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQF_SANITIZE=ON -DQF_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQF_BUILD_BENCH=ON -DQF_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	./scripts/run-bench.sh $(BENCH_BUILD)

# The libFuzzer targets (clang), each run for FUZZ_TIME seconds (or FUZZ_RUNS
# executions, when set) from its seed corpus in fuzz/corpus/; a finding stops
# with its input in $(FUZZ_BUILD)/findings/. FUZZ_TARGETS picks some of them.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DQF_FUZZ=ON -DQF_BUILD_TESTS=OFF -DQF_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	FUZZ_TARGETS="$(FUZZ_TARGETS)" ./scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_TIME) $(FUZZ_RUNS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		./$(BUILD)/src/app/quillfen samples/chart.jpg; \
	else \
		./$(BUILD)/src/app/quillfen --batch samples/chart.quillfen.json --out $(BUILD)/sample-output && \
		echo "Wrote points.csv, fit.csv, fit.json, graph.png and working.png to $(BUILD)/sample-output"; \
	fi

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
