# The two commands a new user needs: `make run` and `make test`.
JOBS ?= 2
WERROR ?= OFF

.PHONY: deps build run test bench fuzz format tidy clean

deps:
	@bash scripts/install-deps

build: deps
	@cmake --preset debug -DQUILLON_WERROR=$(WERROR) >/dev/null
	@cmake --build build -j $(JOBS)

run: build
	@bash scripts/run-sim

test: build
	@cd build && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake --preset release >/dev/null
	@cmake --build build-release -j $(JOBS) --target benchmarks
	@for b in build-release/bin/bench_*; do $$b; done

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_config fuzz_windows

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

tidy: build
	@bash scripts/tidy

clean:
	@rm -rf build build-release build-asan build-tsan build-fuzz
