# Two commands for a fresh Debian machine: `make run` and `make test`.
PACKAGES := cmake ninja-build g++ qt6-base-dev libsimpleini-dev libbenchmark-dev \
            fonts-ipafont-gothic clang-format
BUILD    := build
SUDO     := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: deps configure build run test bench format clean

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

run: build
	cd $(BUILD) && ./Dartrail

test: build
	cd $(BUILD) && ctest --output-on-failure

bench: build
	$(BUILD)/bench/dartrail_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
