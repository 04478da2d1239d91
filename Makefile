# DRUMHOLD -- everyday commands. `make run` and `make test` work on a fresh
# Debian 12 machine: both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all deps test-deps configure build run test bench sanitize install uninstall screenshots windows test-windows clean

all: build

# What building and playing need; test-deps adds what the tests need.
deps:
	@scripts/install-deps.sh

test-deps:
	@scripts/install-deps.sh --tests

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/drumhold

# The tests are configured only when googletest is there: after test-deps.
test: test-deps build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

bench: test-deps build
	scripts/bench.sh $(BUILD)

sanitize: test-deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRUMHOLD_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE no-sanitize

# The Windows game, cross-built with MinGW-w64 into $(WINDOWS_BUILD)/: drumhold.exe,
# drumhold-trace.exe and drumhold-windows-x64.zip. scripts/windows-deps.sh installs
# MinGW and Wine and builds the static libraries once into a cache (see README).
windows:
	@deps=$$(scripts/windows-deps.sh) && \
	cmake -G Ninja -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	      -DCMAKE_BUILD_TYPE=Release -DDRUMHOLD_WINDOWS_DEPS="$$deps" \
	      -DDRUMHOLD_LINUX_BUILD=$(abspath $(BUILD)) $(CMAKE_ARGS)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# Its tests under Wine, and the comparisons with the Linux build.
test-windows: test-deps build windows
	scripts/test-windows.sh $(WINDOWS_BUILD) -j $(JOBS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Removes what the last `make install` put in place (with the same DESTDIR).
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "uninstall: nothing installed from $(BUILD)"; exit 1; }
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs -d '\n' rm -f --

screenshots: test-deps build
	scripts/screenshots.sh $(BUILD) docs/screenshots

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD)
