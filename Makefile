# The two set-up commands of the project:
#   make test   install what is missing, build, run every test
#   make demo   the same set-up, then start the host with the plug-in
# Further targets: build, bench, clean.
BUILD_DIR := build/x64
JOBS ?= 2

.PHONY: test demo bench build setup configure clean

test: build
	flock /tmp/pim-wine.lock scripts/run-tests.sh $(BUILD_DIR)

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
