# make run   installs what is missing, builds and starts the game
# make test  installs what is missing, builds with sanitizers and runs every test

JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test

.PHONY: all deps build run test bench clean

all: build

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVZ_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/vizavu

test: deps
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DVZ_SANITIZE=ON -DVZ_TESTS=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD_DIR) -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR)
