# Wraps CMake. `make run` and `make test` install what is missing first.

SANITIZE ?=
JOBS ?= $(shell nproc)

ifeq ($(SANITIZE),1)
BUILD_DIR ?= build-sanitize
CMAKE_FLAGS += -DGLIMMER_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD_DIR ?= build
CMAKE_FLAGS += -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif

.PHONY: all deps configure build run test bench fuzz soak screenshot install package clean

all: build

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ ! -x $(BUILD_DIR)/solvane/solvanewin ]; then \
		echo "The card is not built yet: $(BUILD_DIR)/solvane/solvanewin is missing."; exit 1; fi
	@cd $(BUILD_DIR)/solvane && ./solvanewin

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build build-sanitize build-bench build-fuzz
