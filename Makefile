# Two commands for a fresh Debian machine: `make run` and `make test`.
# `make test` runs every test twice (plain, then under AddressSanitizer and UBSan) and then each
# fuzz target for FUZZ_SECONDS; `make fuzz FUZZ_SECONDS=N` runs only the fuzz targets.
# `make package` builds the Debian package into build/ and checks it with Debian's own tools.
PACKAGES := cmake ninja-build g++ qt6-base-dev libbenchmark-dev libxxhash-dev \
            fonts-ipafont-gothic clang-format clang libclang-rt-14-dev xvfb xdotool xclip dpkg-dev
PACKAGE_CHECKERS := lintian appstream desktop-file-utils
BUILD        := build
# The program keeps its settings and histories beside its executable: `make run` starts a copy
# here, in a folder that no target removes. A link would not do, as the program finds its folder
# through the link's target.
RUN          := run
ASAN_BUILD   := build-asan
FUZZ_BUILD   := build-fuzz
FUZZ_SECONDS := 30
FUZZERS      := $(notdir $(wildcard fuzz/corpus/*))
# Targets that write files run ten times faster where fsync costs nothing.
FUZZ_TMPDIR  := $(firstword $(wildcard /dev/shm) /tmp)
FUZZ_FLAGS    = -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1
SUDO         := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

# Any sanitizer report fails the run.
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: deps configure build run test test-sanitized fuzz package bench format clean
.NOTPARALLEL:

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update -qq && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD)

# cp -f replaces a copy that is still running instead of failing on it.
run: build
	mkdir -p $(RUN)
	cp -f $(BUILD)/Dartrail resources/ReadMe_and_Help.html $(RUN)/
	cd $(RUN) && ./Dartrail

test: build
	cd $(BUILD) && ctest --output-on-failure
	$(MAKE) --no-print-directory test-sanitized fuzz
	@echo "make test: all passed (ctest, sanitizers, fuzzers)"

test-sanitized: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDARTRAIL_SANITIZE=ON
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure

# Each target starts from a copy of its starting corpus; crashes land in $(FUZZ_BUILD)/crashes/.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDARTRAIL_FUZZ=ON \
	    -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) --target fuzzers
	@mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/crashes; \
	for f in $(FUZZERS); do \
	    rm -rf $(FUZZ_BUILD)/corpus/$$f && cp -r fuzz/corpus/$$f $(FUZZ_BUILD)/corpus/$$f; \
	    echo "== $$f for $(FUZZ_SECONDS) s"; \
	    if $(SANITIZER_ENV) TMPDIR=$(FUZZ_TMPDIR) $(FUZZ_BUILD)/fuzz/$$f $(FUZZ_FLAGS) \
	           -artifact_prefix=$(FUZZ_BUILD)/crashes/$$f- $(FUZZ_BUILD)/corpus/$$f \
	           >$(FUZZ_BUILD)/$$f.log 2>&1; then \
	        grep -E '^(Done|stat::)' $(FUZZ_BUILD)/$$f.log; \
	    else \
	        tail -n 60 $(FUZZ_BUILD)/$$f.log; exit 1; \
	    fi; \
	done

package: PACKAGES += $(PACKAGE_CHECKERS)
package: build
	rm -f $(BUILD)/dartrail_*.deb
	cmake --build $(BUILD) --target package
	appstreamcli validate --no-net $(BUILD)/packaging/*.metainfo.xml
	desktop-file-validate $(BUILD)/packaging/*.desktop
	@# Errors and warnings fail the package, and so does a hardening tag, though Debian calls it info.
	lintian --fail-on error,warning --display-info $(BUILD)/dartrail_*.deb >$(BUILD)/lintian.log || \
	    { cat $(BUILD)/lintian.log; exit 1; }
	@cat $(BUILD)/lintian.log
	@! grep hardening- $(BUILD)/lintian.log

bench: build
	$(BUILD)/bench/dartrail_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
