# The two entry points of the project: `make demo` and `make test`. Both install what is missing,
# configure and build. BUILD_DIR and SANITIZE can be overridden, e.g. `make test SANITIZE=ON`.
BUILD_DIR ?= build
SANITIZE  ?= OFF
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: setup configure build demo test bench clean

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

clean:
	@rm -rf $(BUILD_DIR)
