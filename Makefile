SHELL := /bin/bash

# Tallyfold: the two commands a newcomer needs.
#   make test   install missing packages, configure, build, run every test
#   make run    install missing packages, build, start Tallyfold on the sample box

PRESET ?= default

.PHONY: test run build deps configure clean sanitize sanitize-thread fuzz-smoke fuzz-build package package-test check-tree bench-build windows windows-x86_64 windows-i686 test-windows windows-deps windows-installer windows-e2e windows-install-test

test: build
	ctest --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

configure: deps
	cmake --preset $(PRESET)

deps:
	@scripts/install-deps

# Runs on a copy of the sample box, so learning and saving never change the repository's file.
# Only the program is built: the tests are not needed to start it.
run: configure
	cmake --build --preset $(PRESET) --target tallyfold
	@test -f build/sample.vok || cp examples/sample.vok examples/sample.kas build/
	build/$(PRESET)/tallyfold build/sample.vok

# The tests without Qt under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake --preset sanitize-core
	cmake --build --preset sanitize-core
	ctest --preset sanitize-core

# The tests without Qt under ThreadSanitizer: saves and exports write on a thread of their own.
sanitize-thread: deps
	cmake --preset sanitize-thread
	cmake --build --preset sanitize-thread
	ctest --preset sanitize-thread

# Formatting, fuzz artefacts and wording of the tree; needs no build.
check-tree:
	scripts/check-tree

# The benchmarks compiled, not run (bench/run runs them).
bench-build: deps
	@scripts/install-deps --bench
	cmake --preset bench
	cmake --build --preset bench

# Each fuzz target for a short, fixed time on its corpus (FUZZ_SECONDS each).
FUZZ_SECONDS ?= 45
FUZZ_TARGETS = dbf_fuzzer vok_roundtrip_fuzzer import_fuzzer long_line_fuzzer charset_fuzzer \
	journal_fuzzer import_formats_fuzzer text_fuzzer unicode_vok_fuzzer day_history_fuzzer
fuzz-build: deps
	@scripts/install-deps --fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz

fuzz-smoke: fuzz-build
	@for target in $(FUZZ_TARGETS); do \
	  work=$$(mktemp -d); mkdir -p build/fuzz/artifacts/$$target; \
	  echo "fuzzing $$target for $(FUZZ_SECONDS) s"; \
	  build/fuzz/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/artifacts/$$target/ $$work fuzz/corpus/$$target 2>&1 | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' ; \
	  status=$${PIPESTATUS[0]}; rm -rf $$work; \
	  if [ $$status -ne 0 ]; then echo "$$target failed"; exit 1; fi; \
	done; \
	echo "fuzz: $(words $(FUZZ_TARGETS)) passed, 0 failed"

# The Debian package, in build/default; package-test also unpacks and checks it.
package: build
	cd build/default && cpack -G DEB

package-test: deps
	scripts/package-test

# Windows, cross-compiled with MinGW-w64: the native program (tallyfold.exe) and everything
# that needs no Qt (libraries, tools, the tests), for 64-bit and 32-bit Windows. The 64-bit
# tests run under Wine in a prefix of the build's own (build/wine); the 32-bit build is
# compiled and linked only, as this kernel does not run 32-bit code.
windows-deps:
	@scripts/install-deps --windows

windows: windows-x86_64 windows-i686

windows-x86_64: windows-deps
	cmake --preset windows
	cmake --build --preset windows

windows-i686: windows-deps
	cmake --preset windows-i686
	cmake --build --preset windows-i686

# Under Wine, on a virtual display of its own (scripts/windows-tests).
test-windows: windows-x86_64
	scripts/windows-tests

# The MSI package of the 64-bit program, in build/windows.
windows-installer: windows-x86_64
	scripts/windows-installer

# The Windows program end to end under Wine against the Linux program, and the installer
# installed, used and removed under Wine; both on a virtual display.
windows-e2e: windows-x86_64 build
	scripts/windows-e2e

windows-install-test: windows-installer build
	scripts/windows-install-test

clean:
	rm -rf build
