# make test: set up the machine, build for 32-bit Windows and run every test under Wine.
# make run:  set up, build and start Brumweld.exe under Wine.
# make bench: set up, build, and measure Brumweld against baselines taken in the same run.
BUILD ?= build
JOBS ?= 2

.PHONY: all setup configure build test run screenshots bench clean

all: build

setup:
	@bash tools/setup

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# STRESS=n runs n times as many random reliability cases.
test: build
	BRUMWELD_STRESS=$(STRESS) tools/with-display $(BUILD) ctest --test-dir $(BUILD) --output-on-failure

# VIDEO=path names the clip to open (or, without a display, to convert).
run: build
	tools/run $(BUILD) "$(VIDEO)"

# Only what the measurements run is built; everything shares one display and one wineserver.
bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target Brumweld bare_dialog bench
	tools/with-display $(BUILD) tools/bench/run $(BUILD)

# PNGs of the window idle and busy, made on a virtual display by an unattended run.
screenshots: build
	env -u DISPLAY tools/run $(BUILD)
	mkdir -p docs
	cp $(BUILD)/run/screenshot-idle.png docs/screenshot-idle.png
	cp $(BUILD)/run/screenshot.png docs/screenshot-busy.png

clean:
	rm -rf $(BUILD)
