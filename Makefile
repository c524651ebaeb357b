# The two commands of the README. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = g++ cmake ninja-build libgtest-dev libbenchmark-dev libssl-dev \
           qt6-base-dev libx11-dev libcpp-httplib-dev clang libclang-rt-14-dev curl xvfb

.PHONY: run test deps build test-asan test-tsan clean

deps:
	@./scripts/install-deps $(PACKAGES)

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/brindle

# The threaded HTTP code runs under ThreadSanitizer first; CTest's summary of
# the whole suite is the last thing printed.
test: build test-tsan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DBRINDLE_SANITIZE=address,undefined -DBRINDLE_BENCH=OFF >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# The HTTP client and engine tests under ThreadSanitizer.
test-tsan: deps
	@cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DBRINDLE_SANITIZE=thread -DBRINDLE_WITH_QT=OFF -DBRINDLE_BENCH=OFF >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target test_http test_platform
	cd build-tsan && export TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/tsan.supp" && \
	  ./tests/test_http --gtest_brief=1 && ./tests/test_platform --gtest_brief=1

clean:
	rm -rf $(BUILD) build-asan build-tsan
