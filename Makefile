# The two everyday commands: `make demo` and `make test`.
.PHONY: demo test native windows wine-prefix clean

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

# Builds both programs and runs every test, native and Windows under Wine.
test: native windows
	ctest --preset native
	ctest --preset windows

native:
	tools/install-deps native
	cmake --preset native
	cmake --build --preset native

# The Windows tests use the native build's end-to-end runner.
windows: native wine-prefix
	tools/install-deps windows
	cmake --preset windows
	cmake --build --preset windows

# Wine sets up its prefix on first use and says so on standard error; do it
# once here so that no test sees it.
wine-prefix:
	tools/install-deps windows
	@test -f build/wineprefix/system.reg || tools/wine-run wineboot --init >/dev/null 2>&1

clean:
	rm -rf build
