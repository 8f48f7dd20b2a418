# The README's commands.  `make demo` runs the main job, `make test` every
# test, `make check` the everyday loop (native and 64-bit suites).
# The native preset builds everything with sanitizers for the tests; the
# converter and checker that users run come from the tools preset, optimised,
# in build/tools (`make tools` builds only those).
PRESETS := native win64 win32
JOBS ?= 2

.PHONY: all build tools deps test check demo setup-shots bench fuzz dist flightgear clean

all: build

deps:
	@sh scripts/install-deps.sh

build: tools
	@for p in $(PRESETS); do \
	    cmake --preset $$p >/dev/null && cmake --build --preset $$p -j$(JOBS) || exit 1; \
	done

tools:
	@cmake --preset tools >/dev/null && cmake --build --preset tools -j$(JOBS)

# The 32-bit run, long and emulated, starts first and runs in the background
# beside the suites, in a process group of its own so that an interrupt
# stops it too; its output comes as one block at the end.  Every suite runs
# even when an earlier one fails; the status tells.
test: deps build
	@start=$$(date +%s); mkdir -p build/logs; \
	setsid sh scripts/run-win32.sh >build/logs/run-win32.log 2>&1 </dev/null & run32=$$!; \
	trap 'kill -TERM -- -$$run32 2>/dev/null; exit 130' INT TERM; \
	status=0; \
	for p in $(PRESETS); do \
	    echo "== tests: $$p"; ctest --preset $$p || status=1; \
	done; \
	echo "== suites took $$(( $$(date +%s) - start )) s; waiting for the 32-bit run"; \
	wait $$run32 || status=1; \
	cat build/logs/run-win32.log; \
	echo "== make test: $$(( $$(date +%s) - start )) s after the build, status $$status"; \
	exit $$status

# Native and 64-bit suites only: minutes, for everyday work.
check: deps
	@$(MAKE) --no-print-directory build PRESETS="native win64"
	@status=0; \
	for p in native win64; do \
	    echo "== tests: $$p"; ctest --preset $$p || status=1; \
	done; \
	exit $$status

demo: deps build
	@sh scripts/demo.sh

# The setup window's screenshots, before and after making world data:
# build/setup-shots/*.png.
setup-shots: deps build
	@sh scripts/setup-shots.sh

bench: deps build
	@sh bench/run.sh

fuzz: deps
	@sh fuzz/run.sh

dist: deps build
	@sh tools/dist.sh

# Not part of `make test`: FlightGear's world data from the Debian package
# (about 1.3 GB, kept in build/flightgear), converted, summary and samples.
flightgear: deps tools
	@sh tools/flightgear-world.sh

clean:
	rm -rf build
