# The two commands a new user needs:
#   make run    installs what a build needs, builds the two programs, and opens
#               the dialog on demo data (without a display: the same with korr2ld-cli)
#   make test   installs what the tests need too, builds, and runs every test through CTest
# Others: make build, make asan-test, make bench, make fuzz, make format, make format-check,
# make package (a Debian package of the installed programs, in BUILD_DIR), make windows
# (korr2ld.exe and korr2ld-cli.exe for 64-bit and 32-bit Windows, cross-compiled), make
# windows-installer (their installers), make windows-test (the tests of both, run under Wine).
#
# Each target asks scripts/install-deps for what it needs and no more. A new
# BUILD_DIR is configured without the tests and the benchmarks; make test and
# make bench switch them on, and they stay on in that BUILD_DIR (make run still
# builds only the two programs).

BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
JOBS      ?= $(shell nproc)
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

# A new build directory starts without the tests and the benchmarks; one that
# exists keeps what it was configured with.
NEW_BUILD := $(if $(wildcard $(BUILD_DIR)/CMakeCache.txt),,-DK2L_BUILD_TESTS=OFF -DK2L_BUILD_BENCH=OFF)
CONFIGURE  = cmake -S . -B $(BUILD_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(NEW_BUILD)

WINDOWS_DIR ?= build-windows
WINDOWS_ARCHS := x64 x86
WINDOWS_TESTS ?= OFF

.PHONY: deps configure build run test asan-test bench fuzz format format-check package clean \
        windows windows-installer windows-test

deps:
	@scripts/install-deps

configure: deps
	@$(CONFIGURE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The programs, and nothing else: scripts/run-demo needs no other target.
run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target korr2ld korr2ld-cli
	@scripts/run-demo $(BUILD_DIR)

test:
	@scripts/install-deps --tests
	@$(CONFIGURE) -DK2L_BUILD_TESTS=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

asan-test:
	@scripts/install-deps --tests
	@cmake -S . -B $(ASAN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DK2L_SANITIZE=ON -DK2L_BUILD_TESTS=ON -DK2L_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

package:
	@scripts/install-deps --package
	@$(CONFIGURE) >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	@cd $(BUILD_DIR) && cpack -G DEB

bench:
	@scripts/install-deps --bench
	@$(CONFIGURE) -DK2L_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	@scripts/run-benchmarks $(BUILD_DIR)

fuzz:
	@scripts/install-deps --fuzz
	@scripts/run-fuzzers $(FUZZ_DIR) $${FUZZ_SECONDS:-60}

# Windows programs from Linux: MinGW-w64 with cmake/toolchain-mingw-ARCH.cmake, SQLite
# compiled from the source that scripts/fetch-sqlite-source puts in WINDOWS_DIR/sqlite.
# Each architecture's korr2ld-cli.exe lands in WINDOWS_DIR/ARCH/bin.
windows:
	@scripts/install-deps --windows
	@scripts/fetch-sqlite-source $(WINDOWS_DIR)/sqlite
	@for arch in $(WINDOWS_ARCHS); do \
	  cmake -S . -B $(WINDOWS_DIR)/$$arch $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-$$arch.cmake \
	    -DK2L_SQLITE_SOURCE_DIR=$(CURDIR)/$(WINDOWS_DIR)/sqlite \
	    -DK2L_BUILD_TESTS=$(WINDOWS_TESTS) >/dev/null && \
	  cmake --build $(WINDOWS_DIR)/$$arch -j $(JOBS) || exit 1; \
	done

# The installers, korr2ld-setup-VERSION-ARCH.exe in WINDOWS_DIR/ARCH (NSIS).
windows-installer: windows
	@scripts/make-installer $(WINDOWS_ARCHS)

windows-test:
	@$(MAKE) --no-print-directory windows WINDOWS_TESTS=ON
	@scripts/test-windows $(addprefix $(WINDOWS_DIR)/,$(WINDOWS_ARCHS))

FORMAT_FILES = $(shell git ls-files '*.h' '*.cpp' '*.c')

format:
	@scripts/install-deps --format
	@clang-format -i $(FORMAT_FILES)

format-check:
	@scripts/install-deps --format
	@clang-format --dry-run --Werror $(FORMAT_FILES)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(WINDOWS_DIR)
