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
	cmake --build --preset win --target run_capture_bench
	cmake --build --preset win --target run_clipboard_bench

dist: build
	scripts/dist.sh

clean:
	rm -rf build dist
