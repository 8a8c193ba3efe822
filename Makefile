# The two commands of the README, plus benchmarks and the Windows package.
# Each installs whatever Debian packages are missing first.
.PHONY: all deps build run test bench dist clean

all: build

deps:
	@scripts/deps.sh

build: deps
	cmake --preset win >/dev/null
	cmake --build --preset win

run: build
	scripts/run.sh

test: deps
	scripts/test.sh

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	build/bench/bench/varnel_bench
	cmake --preset win >/dev/null
	cmake --build --preset win --target varnel_capture_bench
	cmake --preset native >/dev/null
	cmake --build --preset native --target xinerama-heads
	env -u DISPLAY scripts/wine-session.sh build/win/wineprefix-bench \
	  --heads 3840x2160+0+0,2560x1440+3840+0 -- \
	  /usr/lib/wine/wine64 build/win/bench/win/varnel_capture_bench.exe

dist: build
	scripts/dist.sh

clean:
	rm -rf build dist
