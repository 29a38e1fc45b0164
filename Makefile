# make test: set up the machine, build, and run every test suite this machine's Wine can run
#            (32-bit and 64-bit Windows; ARCH=32 or ARCH=64 picks one).
# make run:  set up, build and start Brumweld.exe under Wine.
# make bench: set up, build, and measure Brumweld against baselines taken in the same run.
# Build folders: BUILD (32-bit, the product) and BUILD64 (64-bit).
export BUILD ?= build
export BUILD64 ?= build64
export JOBS ?= 2
# ARCH and STRESS reach the scripts through the environment too, never through a recipe's text.
override ARCH := $(value ARCH)
export ARCH
override BRUMWELD_STRESS := $(value STRESS)
export BRUMWELD_STRESS

.PHONY: all setup build test run screenshots bench dist clean

all: build

setup:
	@bash tools/setup

build:
	@tools/project build "$$ARCH"

# STRESS=n runs n times as many random reliability cases.
test:
	@tools/project test "$$ARCH"

# VIDEO=path names the clip to open (or, without a display, to convert). The name reaches
# tools/project through the environment, taken as written ($(value)), never through the
# recipe's shell text, so quotes, $ and backquotes in it are only characters of the name.
override VIDEO := $(value VIDEO)
export VIDEO
run:
	@tools/project run

# Only what the measurements run is built; everything shares one display and one wineserver.
bench:
	@tools/project bench

# PNGs of the window idle and busy, made on a virtual display by an unattended run.
screenshots:
	@tools/project screenshots

# The zip a Windows user downloads: the 32-bit program, its readme and licence.
dist:
	@tools/dist

clean:
	rm -rf -- "$$BUILD" "$$BUILD64"
