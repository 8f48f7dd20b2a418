# The README's commands.  `make demo` runs the main job, `make test` every test.
# The native preset builds everything with sanitizers for the tests; the
# converter and checker that users run come from the tools preset, optimised,
# in build/tools (`make tools` builds only those).
PRESETS := native win64 win32
JOBS ?= 2

.PHONY: all build tools deps test demo bench fuzz dist clean

all: build

deps:
	@sh scripts/install-deps.sh

build: tools
	@for p in $(PRESETS); do \
	    cmake --preset $$p >/dev/null && cmake --build --preset $$p -j$(JOBS) || exit 1; \
	done

tools:
	@cmake --preset tools >/dev/null && cmake --build --preset tools -j$(JOBS)

# Every suite runs even when an earlier one fails; the status tells.
test: deps build
	@status=0; \
	for p in $(PRESETS); do \
	    echo "== tests: $$p"; ctest --preset $$p || status=1; \
	done; \
	sh scripts/run-win32.sh || status=1; \
	exit $$status

demo: deps build
	@sh scripts/demo.sh

bench: deps build
	@sh bench/run.sh

fuzz: deps
	@sh fuzz/run.sh

dist: deps build
	@sh tools/dist.sh

clean:
	rm -rf build
