# The two entry points of the project: `make demo` and `make test`. Both install what is missing,
# configure and build. BUILD_DIR and SANITIZE can be overridden, e.g. `make test SANITIZE=ON`.
# `make windows` cross-builds zorvaxp.dll and the Windows programs into build-windows with
# mingw-w64; `make windows-test` runs their tests under Wine.
BUILD_DIR ?= build
SANITIZE  ?= OFF
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: setup configure build demo test bench clean windows windows-test

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DZXP_SANITIZE=$(SANITIZE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

demo: build
	@echo "The form designer: $(BUILD_DIR)/apps/zorvaxp-designer [FORMFILE] (--screenshot PNG without a display)"
	@$(BUILD_DIR)/apps/zorvaxp-gallery

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD_DIR)/bench/zorvaxp-bench

WINDOWS_DIR ?= build-windows

windows:
	@bash scripts/setup.sh windows $(WINDOWS_DIR)/deps
	@cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DZXP_WIN_DEPS=$(abspath $(WINDOWS_DIR))/deps >/dev/null
	@cmake --build $(WINDOWS_DIR) -j $(JOBS)

windows-test: windows
	@ctest --test-dir $(WINDOWS_DIR) --output-on-failure

clean:
	@rm -rf $(BUILD_DIR)
