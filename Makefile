# The two commands a newcomer needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
WERROR     ?= $(if $(CI),ON,OFF)
CMAKE_ARGS ?=

.PHONY: all deps build run test bench test-sanitize format clean

all: build

deps:
	@tools/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVELMARIX_WERROR=$(WERROR) $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	nice cmake --build $(BUILD) -j$(JOBS)

# The desktop program on a display; without one, the command-line calculator.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then exec $(BUILD)/bin/velmarix; \
	else echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): starting velmarix-cli instead."; \
	exec $(BUILD)/bin/velmarix-cli; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	$(BUILD)/bin/velmarix-bench

# The core tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# (the windows are left out: their tests run in the Release build). Line
# tables (-g1) are all the sanitizers' stack traces need. Assertions stay on
# here (no NDEBUG), so the kernels' size and overlap contracts are checked.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARIX_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1" \
	  -DVELMARIX_BENCH=OFF -DVELMARIX_GUI=OFF -DVELMARIX_WERROR=$(WERROR) $(CMAKE_ARGS)
	nice cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
