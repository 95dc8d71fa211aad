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

.PHONY: all deps configure build run test bench fuzz soak soak-frames valgrind screenshot install package web test-web web-libs web-smoke windows test-windows clean

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

# The running card as a picture: starts it under a private Xvfb, waits
# SCREENSHOT_SECONDS, saves its window to SCREENSHOT and ends it again.
SCREENSHOT ?= screenshot.png
SCREENSHOT_SECONDS ?= 8
screenshot: build
	@bash scripts/screenshot $(BUILD_DIR) $(SCREENSHOT) $(SCREENSHOT_SECONDS)

# The card as a web page in $(BUILD_DIR)/web, for any static web host. The
# libraries are built from the archives in THIRD_PARTY_DIR by scripts/build-libs
# and kept outside the clone; the page takes the desktop build's card folder and
# a frame of it as the link preview's picture (absolute with WEB_URL, the
# address the page will be served from, ending in /).
THIRD_PARTY_DIR ?= $(abspath $(CURDIR)/../shared/third_party)
WEB_BUILD_DIR ?= build-web
WEB_URL ?=
web: build
	@bash scripts/install-deps web
	@$(BUILD_DIR)/tools/cardframe/cardframe $(BUILD_DIR)/solvane $(CURDIR)/$(BUILD_DIR)/card-frame.png
	@prefix=$$(THIRD_PARTY_DIR="$(THIRD_PARTY_DIR)" bash scripts/build-libs web) && prefix=$${prefix##*[[:space:]]} && \
		export NODE_PATH=/usr/share/nodejs && \
		emcmake cmake -S . -B $(WEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DGLIMMER_LIBS_PREFIX="$$prefix" \
			-DGLIMMER_CARD_FOLDER=$(CURDIR)/$(BUILD_DIR)/solvane -DGLIMMER_CARD_FRAME=$(CURDIR)/$(BUILD_DIR)/card-frame.png \
			-DGLIMMER_WEB_OUTPUT=$(CURDIR)/$(BUILD_DIR)/web -DGLIMMER_WEB_URL="$(WEB_URL)" > /dev/null && \
		cmake --build $(WEB_BUILD_DIR) -j $(JOBS)
	@echo "The page is in $(BUILD_DIR)/web; to view it: python3 -m http.server -d $(BUILD_DIR)/web -b 127.0.0.1 8000"

# The page in Debian's Chromium (tests/web/page_test.js, puppeteer-core from
# the lock file): served on 127.0.0.1, it must show the card, draw the golden
# frame, take a link, survive bad ones and ask nothing of other origins.
test-web: web
	@cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	@node tests/web/page_test.js $(CURDIR)/$(BUILD_DIR) $(CURDIR)/$(WEB_BUILD_DIR)

# The card for Windows in $(BUILD_DIR)/solvane-windows.zip: one folder Solvane/
# with the launcher Solvane.exe, the card, the screensaver Solvane.scr, the
# DLLs, the card's files and the licences. Cross-built with mingw-w64 in
# WINDOWS_BUILD_DIR against the libraries scripts/build-libs makes (as for the
# page), with the desktop build's card folder.
WINDOWS_BUILD_DIR ?= build-windows
windows: build
	@bash scripts/install-deps windows
	@prefix=$$(THIRD_PARTY_DIR="$(THIRD_PARTY_DIR)" bash scripts/build-libs windows) && prefix=$$(echo "$$prefix" | tail -n 1) && \
		cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
			-DCMAKE_BUILD_TYPE=Release -DGLIMMER_LIBS_PREFIX="$$prefix" -DBUILD_TESTING=OFF \
			-DGLIMMER_CARD_FOLDER=$(CURDIR)/$(BUILD_DIR)/solvane > /dev/null && \
		cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	@rm -f $(BUILD_DIR)/solvane-windows.zip
	@cd $(WINDOWS_BUILD_DIR) && zip -q -r -X -9 $(CURDIR)/$(BUILD_DIR)/solvane-windows.zip Solvane
	@echo "The card for Windows is $(BUILD_DIR)/solvane-windows.zip"

# The zip under wine on a private Xvfb (tests/windows/card_windows_test.sh):
# unpacked into a non-ASCII folder, the launcher, the card and the screensaver.
# Then the engine's and the card's unit tests, built for Windows in
# WINDOWS_BUILD_DIR with GoogleTest from Debian's sources, under wine with
# ctest (tests/windows/unit_tests_windows.sh).
test-windows: windows
	@BUILD_DIR=$(CURDIR)/$(BUILD_DIR) SOURCE_DIR=$(CURDIR) bash tests/windows/card_windows_test.sh
	@cmake -S . -B $(WINDOWS_BUILD_DIR) -DBUILD_TESTING=ON > /dev/null && cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	@BUILD_DIR=$(CURDIR)/$(BUILD_DIR) SOURCE_DIR=$(CURDIR) WINDOWS_BUILD_DIR=$(CURDIR)/$(WINDOWS_BUILD_DIR) JOBS=$(JOBS) \
		bash tests/windows/unit_tests_windows.sh

# Release build in build-bench; runs every build-bench/bench/*_bench, one
# executable per bench/**/<Name>Bench.cpp (see bench/CMakeLists.txt), then the
# card's own figures (bench/card/run.sh), whose "bench:" lines come last; the
# Windows card's CPU share under wine among them once `make windows` has run. The
# peer the card is measured against (xsnow) comes from bench/install-peer.
bench: deps
	@bash bench/install-peer
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DGLIMMER_BUILD_BENCH=ON -DBUILD_TESTING=OFF > /dev/null
	@cmake --build build-bench --target benchmarks -j $(JOBS)
	@set -e; for b in build-bench/bench/*_bench; do \
		echo "== $$b"; SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $$b; done
	@echo "== the card (bench/card/run.sh)"
	@WINDOWS_ZIP=$(CURDIR)/$(BUILD_DIR)/solvane-windows.zip bash bench/card/run.sh build-bench
	@echo "== the card's web page (bench/web/run.js)"
	@$(MAKE) --no-print-directory web
	@cd bench/web && npm ci --no-audit --no-fund --loglevel=error
	@node bench/web/run.js $(CURDIR)/$(BUILD_DIR)

# clang + libFuzzer build in build-fuzz; runs every target named by a folder
# tests/fuzz/corpus/<target>/ for FUZZ_RUNS inputs, growing that corpus.
FUZZ_RUNS ?= 100000
FUZZ_TARGETS = $(notdir $(patsubst %/,%,$(wildcard tests/fuzz/corpus/*/)))
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMER_BUILD_FUZZ=ON \
		-DBUILD_TESTING=OFF -DGLIMMER_BUILD_PROGRAMS=OFF > /dev/null
	@cmake --build build-fuzz --target $(FUZZ_TARGETS) -j $(JOBS)
	@set -e; for t in $(FUZZ_TARGETS); do \
		echo "== $$t: $(FUZZ_RUNS) runs"; \
		SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(CURDIR)/build-fuzz/tests/fuzz/$$t \
			-runs=$(FUZZ_RUNS) -max_len=4096 -artifact_prefix=$(CURDIR)/build-fuzz/ $(CURDIR)/tests/fuzz/corpus/$$t < /dev/null; done

# Long runs, not part of `make test`. soak: the card with 2970 flakes for
# SOAK_SECONDS (600) under Xvfb, checking memory and frame pace. valgrind:
# the card for 10 s of snow and a key under memcheck, with the suppressions in
# tests/valgrind.supp.
SOAK_SECONDS ?= 600
soak: build
	@cmake --build $(BUILD_DIR) --target cardsoak solvane_folder -j $(JOBS)
	@BUILD_DIR=$(CURDIR)/$(BUILD_DIR) SOURCE_DIR=$(CURDIR) SOAK_SECONDS=$(SOAK_SECONDS) bash tests/soak/card_soak.sh

# soak-frames: a night in one run, SOAK_FRAMES (1000000) frames of the card
# back to back on the dummy driver, its clock a second further every 33 frames;
# checks memory and frame time (tests/soak/card_night.sh).
SOAK_FRAMES ?= 1000000
soak-frames: build
	@cmake --build $(BUILD_DIR) --target cardsoak solvane_folder -j $(JOBS)
	@BUILD_DIR=$(CURDIR)/$(BUILD_DIR) SOURCE_DIR=$(CURDIR) SOAK_FRAMES=$(SOAK_FRAMES) bash tests/soak/card_night.sh

valgrind: build
	@BUILD_DIR=$(CURDIR)/$(BUILD_DIR) SOURCE_DIR=$(CURDIR) bash tests/soak/card_valgrind.sh

# `make install PREFIX=/opt/solvane`: the launcher, the card's folder, the
# engine for other programs and the desktop entry (see the README).
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD_DIR) --prefix "$(abspath $(PREFIX))"

# Two Debian packages of the same files below /usr, left in the build folder:
# solvane (the card) and libglimmer-dev (the engine). Fails when lintian has
# an error or a warning about either, or the AppStream data does not validate.
package: build
	@rm -f $(BUILD_DIR)/*.deb
	@cd $(BUILD_DIR) && cpack -G DEB > cpack.log || { cat cpack.log; exit 1; }
	@appstreamcli validate --no-net --pedantic packaging/*.metainfo.xml
	@status=0; lintian --fail-on error,warning $(BUILD_DIR)/*.deb > $(BUILD_DIR)/lintian.log 2>&1 || status=$$?; \
		grep -v 'with root privileges' $(BUILD_DIR)/lintian.log || true; \
		[ $$status = 0 ] || { echo "lintian: the packages have errors or warnings"; exit 1; }
	@ls $(BUILD_DIR)/*.deb

# The libraries under the card built from source for the browser, in a
# prefix cached outside the tree (scripts/build-libs prints it); web-smoke
# opens a small program on them in headless Chromium (tests/web/smoke.sh).
web-libs:
	@bash scripts/install-deps web
	@bash scripts/build-libs web

web-smoke: web-libs
	@bash tests/web/smoke.sh

clean:
	rm -rf build build-sanitize build-bench build-fuzz build-web build-web-smoke build-windows
