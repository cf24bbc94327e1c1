# The two entry points: 'make run' starts the wizard, 'make test' runs every test.
# Both choose the 32- or 64-bit flavor for this machine; FLAVOR=32 or FLAVOR=64 forces one.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake --log-level=WARNING

.PHONY: all deps build run test bench clean

all: build

deps:
	@scripts/deps.sh

build: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	@cmake --build $(BUILD)

run:
	@FLAVOR=$(FLAVOR) SMARTCARD=$(SMARTCARD) scripts/flavored.sh run

test:
	@FLAVOR=$(FLAVOR) scripts/flavored.sh test

bench:
	@FLAVOR=$(FLAVOR) scripts/flavored.sh bench

clean:
	rm -rf $(BUILD)
