# Tavimero: build, run and test on Debian 12 (GNU make). The two commands that matter:
#   make run    installs what is missing, cross-builds Tavimero.exe and starts it under Wine
#   make test   installs what is missing, builds both trees and runs every test
# Other targets: build native asan cross template bench screenshot clean distclean.

SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
# Steps run in the order given, also under `make -j`; the builds use $(JOBS) cores themselves.
.NOTPARALLEL:
JOBS ?= 2
CMAKE ?= cmake
CTEST ?= ctest
NATIVE_DIR ?= build/native
ASAN_DIR ?= build/asan
FUZZ_DIR ?= build/fuzz
# Inputs each fuzzer runs in `make test`: a fixed count, so the run's length does not depend on luck.
FUZZ_RUNS ?= 200000
CROSS_DIR ?= build/cross
# The sanitizer tree uses a second compiler, so that both see the portable code.
ASAN_CXX ?= clang++
CROSS_BUILD_TYPE ?= Release
# Per-test limit for Wine tests that set none themselves (seconds).
WINE_TEST_TIMEOUT ?= 900
# A compiler cache where the machine has one: checkouts side by side then compile a file once.
CCACHE ?= $(shell command -v ccache 2>/dev/null)
CACHE_FLAGS := $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE))

export ASAN_OPTIONS ?= detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
export UBSAN_OPTIONS ?= print_stacktrace=1:halt_on_error=1

.PHONY: all run test test-steps build native asan cross template deps bench screenshot fuzz fuzz-test package \
	clean distclean native-test asan-test cross-test

all: build

deps:
	@scripts/install-deps.sh

native: deps
	$(CMAKE) -S . -B $(NATIVE_DIR) -DCMAKE_BUILD_TYPE=Debug $(CACHE_FLAGS)
	$(CMAKE) --build $(NATIVE_DIR) -j $(JOBS)

asan: deps
	$(CMAKE) -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DTAVIMERO_SANITIZE=ON $(CACHE_FLAGS) \
		-DCMAKE_CXX_COMPILER=$(ASAN_CXX)
	$(CMAKE) --build $(ASAN_DIR) -j $(JOBS)

cross: deps
	$(CMAKE) -S . -B $(CROSS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(CACHE_FLAGS) \
		-DCMAKE_BUILD_TYPE=$(CROSS_BUILD_TYPE)
	$(CMAKE) --build $(CROSS_DIR) -j $(JOBS)

build: native cross

template: deps
	@scripts/wine-template.sh

run: cross template
	@TAVIMERO_NO_BUILD=1 scripts/run.sh

# The whole run: native unit tests, the same under ASan and UBSan, then the Windows build's
# tests under Wine. The time is printed also when a step fails.
test:
	@start=$$(date +%s); rc=0; \
	$(MAKE) test-steps || rc=$$?; \
	echo "make test: $$( ((rc == 0)) && echo done || echo FAILED) in $$(( $$(date +%s) - start )) s"; \
	exit $$rc

test-steps: native-test asan-test fuzz-test cross-test

native-test: native
	$(CTEST) --test-dir $(NATIVE_DIR) --output-on-failure --no-tests=error -j $(JOBS)

# The parsers under libFuzzer with ASan and UBSan, from the seed corpus in fuzz/corpus/.
fuzz: deps
	$(CMAKE) -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIMERO_FUZZ=ON $(CACHE_FLAGS) \
		-DTAVIMERO_SANITIZE=ON -DTAVIMERO_TESTS=OFF -DCMAKE_CXX_COMPILER=clang++
	$(CMAKE) --build $(FUZZ_DIR) -j $(JOBS)

fuzz-test: fuzz
	@scripts/run-fuzzers.sh $(FUZZ_DIR)/fuzz $(FUZZ_RUNS)

asan-test: asan
	$(CTEST) --test-dir $(ASAN_DIR) --output-on-failure --no-tests=error -j $(JOBS)

# Wine tests run one at a time: they share one prefix, and the program is single-instance.
# The layout tests run a second time from the template with the window metrics of Windows 10
# and 11, made here so that its making does not count against a test's time limit.
cross-test: cross template
	@TAVIMERO_WINE_METRICS=win10 scripts/wine-template.sh
	scripts/with-wine.sh $(CTEST) --test-dir $(CROSS_DIR) --output-on-failure --no-tests=error \
		-j1 --timeout $(WINE_TEST_TIMEOUT)

# Benchmarks print figures; they pass or fail on nothing but running. The cross tree's `bench`
# target builds them; each *bench.exe then runs under Wine.
bench: cross template
	$(CMAKE) --build $(CROSS_DIR) -j $(JOBS) --target bench
	@for exe in $$(find $(CROSS_DIR)/bench -name '*bench.exe' -type f | sort); do \
		echo "== $$exe"; \
		scripts/with-wine.sh wine "$$exe" $(BENCH_ARGS) || exit $$?; \
	done

# Main window and its prompt as PNG (build/screenshots/main.png), copied for the README.
screenshot: cross template
	@scripts/screenshot.sh
	cp build/screenshots/main.png docs/screenshot.png
	@echo "docs/screenshot.png updated"

# A zip for Windows users: Tavimero.exe, help.html and a Japanese read-me.
package: cross
	$(CMAKE) --build $(CROSS_DIR) --target package_zip
	$(CMAKE) -E tar tf $(CROSS_DIR)/Tavimero-1.0.1.zip

clean:
	rm -rf $(NATIVE_DIR) $(ASAN_DIR) $(CROSS_DIR) build/screenshots

# Also the Wine prefixes (the templates and the prefixes `make run` keeps).
distclean:
	@for p in build/wine-template build/wine-run build/wine-template-win10 build/wine-run-win10; do \
		[[ -d $$p ]] && WINEPREFIX=$$PWD/$$p wineserver -k >/dev/null 2>&1; true; done
	rm -rf build
