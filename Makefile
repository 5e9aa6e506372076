# The README's two commands. Each installs what it needs first (Debian 12, as root).
BUILD := build
WINE_DIR := $(BUILD)/wine

.PHONY: all deps build prefix demo test bench fuzz clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw

prefix: deps
	@scripts/make-prefix $(WINE_DIR)

demo: build prefix
	@scripts/demo $(BUILD)

test: build prefix
	@ctest --preset mingw

bench: build prefix
	@if [ -x scripts/bench ]; then scripts/bench $(BUILD); else echo "no benchmarks yet"; fi

clean:
	rm -rf $(BUILD)
