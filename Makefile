# The two everyday commands: `make demo` and `make test`.
.PHONY: demo test check-format native windows asan wine-prefix bench soak dist clean

DEMO_LISTING := examples/PhotoArchive_2024.csv

# Builds the native program and splits the bundled listing in build/demo.
demo:
	tools/install-deps native
	cmake --preset native
	cmake --build --preset native --target norvex
	rm -rf build/demo && mkdir -p build/demo
	cd build/demo && ../native/norvex ../../$(DEMO_LISTING)
	@echo
	@echo "Files written in build/demo:"
	@ls -1 build/demo

# Builds both programs and runs every test: native, Windows under Wine, and
# the native build again under AddressSanitizer and UndefinedBehaviorSanitizer
# with a time-bounded run of each fuzz target.
test: check-format native windows asan
	ctest --preset native
	ctest --preset windows
	ctest --preset asan

# Fails on any source that clang-format would change.
check-format:
	tools/install-deps format
	clang-format --dry-run --Werror $$(find src tests bench -name '*.cpp' -o -name '*.h')

native:
	tools/install-deps native
	cmake --preset native
	cmake --build --preset native

# The Windows tests use the native build's end-to-end runner.
windows: native wine-prefix
	tools/install-deps windows
	cmake --preset windows
	cmake --build --preset windows

asan:
	tools/install-deps native asan
	cmake --preset asan
	cmake --build --preset asan

# Wine sets up its prefix on first use and says so on standard error; do it
# once here so that no test sees it.
wine-prefix:
	tools/install-deps windows
	@test -f build/wineprefix/system.reg || tools/wine-run wineboot --init >/dev/null 2>&1

# Times the native Release build against the floor on generated listings of
# 100,000, 1,000,000 and 5,000,000 lines (kept in build/bench for reuse).
BENCH_SIZES ?= 100000,1000000,5000000
bench:
	tools/install-deps native
	cmake --preset release
	cmake --build --preset release
	build/release/norvex_bench --tool build/release/norvex --floor build/release/norvex_floor \
		--dir build/bench --sizes $(BENCH_SIZES)

# Splits a generated 5,000,000-line listing and checks that every line is in
# exactly one output file (not part of make test).
SOAK_LINES ?= 5000000
soak:
	tools/install-deps native
	cmake --preset release
	cmake --build --preset release
	build/release/norvex_soak --tool build/release/norvex --dir build/soak --lines $(SOAK_LINES)

# The Windows release: build/dist/norvex-VERSION-win64.zip and its SHA-256,
# from a tested, stripped norvex.exe, checked to be reproducible.
dist: native wine-prefix
	tools/install-deps windows dist
	tools/make-dist

clean:
	rm -rf build
