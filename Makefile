# The README's two commands. Each installs what it needs first (Debian 12, as root).
BUILD := build
WINE_DIR := $(BUILD)/wine
# The 32-bit build, as shipped, where this machine runs 32-bit code; else the 64-bit one.
PRESET = $(if $(filter win64,$(shell scripts/wine-arch)),mingw64,mingw)

.PHONY: all deps build prefix demo test bench fuzz clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

prefix: deps
	@scripts/make-prefix $(WINE_DIR)

demo: build prefix
	@scripts/demo $(BUILD)

test: build prefix
	@ctest --preset $(PRESET)

bench: build prefix
	@if [ -x scripts/bench ]; then scripts/bench $(BUILD); else echo "no benchmarks yet"; fi

clean:
	rm -rf $(BUILD)
