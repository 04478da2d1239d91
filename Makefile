# DRUMHOLD -- everyday commands. `make run` and `make test` work on a fresh
# Debian 12 machine: both install what is missing first. A plain `make` (or
# `make build`) only builds: it leaves the package manager alone, configures
# the build directory once, and keeps the build type it was configured with.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
CROSS_BUILD ?= build-cross
WEB_BUILD  ?= build-web
WEB_PORT   ?= 8800
DIST       ?= dist
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
RUN_ARGS   ?=

.PHONY: all deps test-deps configure build run test bench sanitize install uninstall screenshots windows test-windows cross test-cross web run-web test-web release test-release clean
# Prerequisites run in the order written (deps before build); each build
# runs its own jobs in parallel.
.NOTPARALLEL:

all: build

# What building and playing need; test-deps adds what the tests need.
deps:
	@scripts/install-deps.sh

test-deps:
	@scripts/install-deps.sh --tests

# The first build configures (Release unless CMAKE_ARGS says otherwise); later
# ones let CMake re-run itself when a CMakeLists.txt changes. `make configure`
# configures again, for example with other CMAKE_ARGS.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_ARGS)

configure:
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_ARGS)

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Options for the game: make run RUN_ARGS=--windowed
run: deps build
	./$(BUILD)/drumhold $(RUN_ARGS)

# The tests are configured only when googletest is there: after test-deps,
# the build directory is configured again to find it.
test: test-deps configure build
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

# The replay tool alone for 64-bit ARM and big-endian s390x, static, with
# Debian's cross compilers: $(CROSS_BUILD)/drumhold-trace-aarch64 and -s390x.
CROSS_ARCHS := aarch64 s390x
cross:
	@scripts/install-deps.sh cross
	@for arch in $(CROSS_ARCHS); do \
	  cmake -S . -B $(CROSS_BUILD)/$$arch -DCMAKE_TOOLCHAIN_FILE=cmake/$$arch-linux-gnu.cmake \
	        -DCMAKE_BUILD_TYPE=Release -DDRUMHOLD_TRACE_ONLY=ON -DBUILD_TESTING=OFF $(CMAKE_ARGS) && \
	  cmake --build $(CROSS_BUILD)/$$arch -j $(JOBS) --target drumhold-trace && \
	  cp $(CROSS_BUILD)/$$arch/drumhold-trace $(CROSS_BUILD)/drumhold-trace-$$arch || exit 1; \
	done

# Both under qemu-user against this machine's tool, byte for byte.
test-cross: build cross
	scripts/test-cross.sh $(BUILD) $(CROSS_BUILD)

# The browser build into $(WEB_BUILD)/: the page (index.html, drumhold.js and
# .wasm, the font) and drumhold-trace.js, the replay tool for node.
# scripts/web-deps.sh installs emscripten and builds SDL2 and FreeType for it
# once into a cache (see README).
web: export NODE_PATH := /usr/share/nodejs
web:
	@deps=$$(scripts/web-deps.sh) && \
	PKG_CONFIG_LIBDIR="$$deps/lib/pkgconfig" PKG_CONFIG_PATH= \
	cmake -G Ninja -S . -B $(WEB_BUILD) -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
	      -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DCMAKE_BUILD_TYPE=Release \
	      -DDRUMHOLD_WEB_DEPS="$$deps" $(CMAKE_ARGS)
	cmake --build $(WEB_BUILD) -j $(JOBS)

# Serves $(WEB_BUILD)/ on this machine only, at the address it prints.
run-web: web
	scripts/serve-web.py $(WEB_BUILD) $(WEB_PORT)

# The node replay tool against the Linux one, and the page in headless Chromium.
test-web: build web
	scripts/test-web.sh $(BUILD) $(WEB_BUILD)

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

screenshots: test-deps build
	scripts/screenshots.sh $(BUILD) docs/screenshots

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) $(CROSS_BUILD) $(WEB_BUILD) build-release $(DIST)
