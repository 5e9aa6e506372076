# The README's two commands. Each installs what it needs first (Debian 12, as root).
BUILD := build
# Both builds every time: mingw is the shipped 32-bit program, mingw64 the same sources for
# 64-bit Windows. The host's Wine runs the 32-bit one where this kernel runs 32-bit code, else
# the 64-bit one (scripts/wine-arch); there the 32-bit one runs in the emulated root.
PRESETS := mingw mingw64
NATIVE = $(if $(filter win64,$(shell scripts/wine-arch)),mingw64,mingw)
EMULATED = $(if $(filter mingw64,$(NATIVE)),mingw-emulated)

.PHONY: all deps build $(PRESETS:%=build-%) prefix demo test bench clean

all: build

deps:
	@scripts/install-deps

build: $(PRESETS:%=build-%)

$(PRESETS:%=build-%): build-%: deps
	@cmake --preset $* >/dev/null
	@cmake --build --preset $*

prefix: deps
	@scripts/make-prefix $(BUILD)/wine
	@if [ -n "$(EMULATED)" ]; then scripts/wine32-exec scripts/make-prefix $(BUILD)/wine-emulated; fi

demo: deps prefix
	@$(MAKE) --no-print-directory build-$(NATIVE)
	@scripts/demo $(BUILD)/$(NATIVE)

test: build prefix
	@scripts/run-tests $(NATIVE) $(EMULATED)

bench: deps prefix
	@$(MAKE) --no-print-directory build-$(NATIVE)
	@if [ -x scripts/bench ]; then scripts/bench $(BUILD)/$(NATIVE); else echo "no benchmarks yet"; fi

clean:
	rm -rf $(BUILD)
