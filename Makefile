# The two commands a new user needs:
#   make run    installs what is missing, builds, and opens the dialog on demo data
#   make test   installs what is missing, builds, and runs every test through CTest
# Others: make build, make asan-test, make bench, make fuzz, make format, make format-check,
# make package (a Debian package of the installed programs, in BUILD_DIR).

BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
JOBS      ?= $(shell nproc)
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: deps configure build run test asan-test bench fuzz format format-check package clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

asan-test: deps
	@cmake -S . -B $(ASAN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DK2L_SANITIZE=ON -DK2L_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

package: build
	@cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@scripts/run-benchmarks $(BUILD_DIR)

fuzz: deps
	@scripts/run-fuzzers $(FUZZ_DIR) $${FUZZ_SECONDS:-60}

FORMAT_FILES = $(shell git ls-files '*.h' '*.cpp' '*.c')

format:
	@clang-format -i $(FORMAT_FILES)

format-check:
	@clang-format --dry-run --Werror $(FORMAT_FILES)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
