# Front door. `make test` sets up a fresh Debian machine, builds everything and runs every test.

JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

.PHONY: all setup native product win32 test test-native test-sanitize test-win32 test-fuzz bench soak stress run dist clean

all: native win32

setup:
	@tools/setup.sh

native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

# Zelmora.exe alone.
product: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS) --target Zelmora

# The product with its start-up benchmarks and, apart from it, the test programs (another compiler: see cmake/),
# which find the product through its build.
win32: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j $(JOBS)
	@cmake --preset win32-tests >/dev/null
	@cmake --build --preset win32-tests -j $(JOBS)

test-native: native
	@ctest --preset native -j $(JOBS)

test-win32: win32
	@ctest --preset win32-tests

# The native suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and the cases where threads meet
# under ThreadSanitizer.
test-sanitize: setup
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS) --target zelmora_unit_tests
	@ctest --preset sanitize -j $(JOBS)
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan -j $(JOBS) --target zelmora_unit_tests
	@ctest --preset tsan

# libFuzzer on the number texts (clang, build/fuzz), about 30 s per target.
test-fuzz: setup
	@JOBS=$(JOBS) fuzz/run.sh

# Every stage in turn (tools/test.sh), then the time each took.
test:
	@tools/test.sh

bench: native win32
	@tools/bench.sh

# SOAK_CYCLES cleaning cycles of Zelmora.exe under Wine with the figures of its process; not part of make test.
SOAK_CYCLES ?= 1000
soak: win32
	@tools/drive.sh soak $(SOAK_CYCLES)

# One cleaning cycle of Zelmora.exe under Wine over a cache STRESS_LEVELS folders deep, with its figures; not part
# of make test.
STRESS_LEVELS ?= 12000
stress: win32
	@tools/drive.sh stress $(STRESS_LEVELS)

clean:
	rm -rf build dist

run: product
	@tools/run.sh

# The program ready to copy to a Windows machine, with its SHA-256: the same source gives the same bytes.
dist: product
	@root=$(CURDIR) && . tools/builds.sh && require_built dist "$$product" && mkdir -p dist && cp "$$product" dist/Zelmora.exe && \
		sha256sum dist/Zelmora.exe
