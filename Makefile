# The two commands of the README: `make run` and `make test`. `make bench` runs the benchmarks.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
BENCH_BUILD ?= build-bench

.PHONY: deps build run test test-main test-asan test-tsan test-fuzz fuzz bench clean

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/quorlet

test: test-main test-asan test-tsan test-fuzz

test-main: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Engine, window and kit tests under AddressSanitizer + UndefinedBehaviorSanitizer (Qt itself is not
# instrumented); the window tests offscreen as one program, the X11 cases under xvfb-run.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORLET_ENGINE_ONLY=OFF -DQUORLET_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The kit timer tests alone (the one unit with a second thread) under ThreadSanitizer.
test-tsan: deps
	@cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLET_ENGINE_ONLY=ON -DQUORLET_TSAN=ON >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target kit_timer_tests
	@# The throwing-handler case hands its log line over through Qt's queue only, which the
	@# sanitizer cannot see into; it runs in the main build.
	cd $(TSAN_BUILD) && TSAN_OPTIONS="suppressions=$(CURDIR)/tests/tsan.supp history_size=7" \
	  ctest --output-on-failure -j $(JOBS) -E AThrowingHandlerOnTheWorker

# Each libFuzzer target replays its seed corpus once (clang, ASan + UBSan).
test-fuzz: deps
	@sh fuzz/run.sh 0 build-fuzz

# Each libFuzzer target for 60 s from its seed corpus.
fuzz: deps
	@sh fuzz/run.sh 60 build-fuzz

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORLET_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} "$$b" || exit 1; fi; \
	done
	@xvfb-run -a $(BENCH_BUILD)/startup_probe 10 $(BENCH_BUILD)/quorlet $(BENCH_BUILD)/bare_window

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(BENCH_BUILD) build-fuzz
