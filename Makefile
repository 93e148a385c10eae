# The two set-up commands of the project:
#   make test   install what is missing, build, run every test
#   make demo   the same set-up, then start the host with the plug-in
# Further targets: build, bench, clean, and
#   make test-repeat N=10 [LOAD=1]   the whole suite N times (LOAD=1: a CPU hog per core)
BUILD_DIR := build/x64
JOBS ?= 2
N ?= 10
LOAD ?= 0

.PHONY: test test-repeat demo bench build setup configure clean

test: build
	flock /tmp/pim-wine.lock scripts/run-tests.sh $(BUILD_DIR)

# Holds the build lock (shared) as well: every run tests the same programs.
test-repeat: build
	flock -s /tmp/pim-build.lock flock /tmp/pim-wine.lock env LOAD=$(LOAD) scripts/test-repeat.sh $(BUILD_DIR) $(N)

demo: build
	flock /tmp/pim-wine.lock scripts/demo.sh $(BUILD_DIR)

bench: build
	flock /tmp/pim-wine.lock scripts/bench.sh $(BUILD_DIR)

setup:
	scripts/setup.sh

configure: setup
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	  cmake -S . -B $(BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo; \
	fi

build: configure
	flock /tmp/pim-build.lock cmake --build $(BUILD_DIR) -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
