# The two entry points: 'make run' starts the wizard, 'make test' runs every test.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake --log-level=WARNING

.PHONY: all deps build run test bench clean

all: build

deps:
	@scripts/deps.sh

build: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	@cmake --build $(BUILD)

run: build
	@SMARTCARD=$(SMARTCARD) scripts/run.sh $(BUILD)

test: build
	@tests/bed/run-tests.sh $(BUILD)

bench: build
	@bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
