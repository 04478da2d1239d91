# DRUMHOLD -- everyday commands. `make run` and `make test` work on a fresh
# Debian 12 machine: both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
DIST       ?= dist
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all deps configure build run test bench sanitize install uninstall screenshots windows test-windows release \
        test-release clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/drumhold

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	scripts/bench.sh $(BUILD)

sanitize: deps
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
test-windows: build windows
	scripts/test-windows.sh $(WINDOWS_BUILD) -j $(JOBS)

# A release of the committed source into $(DIST)/: the Debian package, the
# Windows and web zips, the source tarball and SHA256SUMS (see README).
release:
	JOBS=$(JOBS) scripts/release.sh $(DIST)

# The release as a user meets it: the package installed, run and removed (as
# root), the source tarball's own `make test`, the zips' contents.
test-release: release
	JOBS=$(JOBS) scripts/test-release.sh $(DIST)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Removes what the last `make install` put in place (with the same DESTDIR).
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "uninstall: nothing installed from $(BUILD)"; exit 1; }
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs -d '\n' rm -f --

screenshots: build
	scripts/screenshots.sh $(BUILD) docs/screenshots

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) build-release
