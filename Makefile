# The two commands of the README, plus a few for developers.
#   make run      installs what is missing, builds the game and starts it
#   make test     installs what is missing, builds with sanitizers and runs every test
#   make install  installs the game from the release build (PREFIX, DESTDIR)
#   make package  makes the Debian package of the release build
#   make format   formats the sources; make format-check lists the unformatted ones
#   make tidy     runs clang-tidy over src/
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: run test build build-test install package bench screenshots pictures tsan fuzz build-fuzz deps clean format \
  format-check tidy

deps:
	./scripts/install-deps

build: deps
	cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGF_TESTS=OFF
	cmake --build build -j $(JOBS)

run: build
	./build/src/glimmerfall

build-test: deps
	cmake -S . -B build-test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DGF_SANITIZE=ON -DGF_BENCH=OFF
	cmake --build build-test -j $(JOBS)

test: build-test
	cd build-test && ctest --output-on-failure -j $(JOBS) --timeout 300

# The game, its desktop entry, AppStream data, icons, manual page and licence
# under PREFIX (the usual folders below it); DESTDIR stages the whole tree
# below another folder: make install PREFIX=/usr DESTDIR=/tmp/stage
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

# The Debian package of the release build, its dependencies found by
# dpkg-shlibdeps: build/glimmerfall_<version>_<architecture>.deb
package: build
	cd build && cpack -G DEB

# Threaded code is checked under ThreadSanitizer with: make tsan
tsan: deps
	cmake -S . -B build-tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DGF_TSAN=ON -DGF_BENCH=OFF
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && ctest --output-on-failure -j $(JOBS) --timeout 300

# Every parser of outside bytes under libFuzzer with ASan and UBSan (clang),
# each for FUZZ_SECONDS, FUZZ_JOBS at once: make fuzz FUZZ_SECONDS=60
# Only these targets (default all): make fuzz FUZZ_TARGETS="fuzz_pack fuzz_level"
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 4
FUZZ_TARGETS ?=
build-fuzz: deps
	cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DGF_FUZZ=ON -DGF_TESTS=OFF -DGF_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target gf_fuzz_seed_files

fuzz: build-fuzz
	./scripts/run-fuzz build-fuzz $(FUZZ_SECONDS) $(FUZZ_JOBS) $(FUZZ_TARGETS)

bench: build
	@for b in build/bench/bench_*; do echo "== $$b"; $$b; done

# A picture of each built-in level at its start, and of the menu screens, drawn headless.
screenshots: build
	./build/bench/bench_level_shots build/screenshots
	./build/bench/bench_screen_shots build/screenshots

# Writes the picture guard's reference frames (tests/screens/pictures/) again:
# after pictures or levels changed on purpose. Look at them before committing.
pictures: build
	./build/bench/bench_pictures --write

# Formats every C and C++ source in place with the repository's .clang-format
# (clang-format 14, as ./scripts/install-deps installs it). format-check
# changes nothing: it lists the files that are not formatted and fails on one.
format:
	./scripts/format-sources

format-check: deps
	./scripts/format-sources --check

# clang-tidy 14 with the repository's .clang-tidy over src/; fails on any finding.
# It needs only a configured tree (build-tidy), not a build.
tidy: deps
	./scripts/tidy build-tidy $(JOBS)

clean:
	rm -rf build build-test build-tsan build-fuzz build-tidy
