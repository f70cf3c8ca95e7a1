# make run   installs what is missing, builds and starts the game
# make test  installs what is missing, builds with sanitizers and runs every test
# make fuzz  installs clang, builds the dialog pictures' fuzzer and runs it

JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 600
FUZZ_TIMEOUT ?= 60

.PHONY: all deps build run test bench fuzz clean

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

# The corpus grows in $(FUZZ_BUILD_DIR)/corpus; a crash or an input that
# takes over FUZZ_TIMEOUT seconds is kept in $(FUZZ_BUILD_DIR) and ends the
# run. The largest pictures the engine decodes take a few seconds under the
# sanitizers, more on a busy machine: that is no fault, a hang is. Inputs
# may be 8 MB long, as the seeds of TIFFs of a million strips are.
fuzz:
	@sh scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVZ_TESTS=OFF -DVZ_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target fuzz_pictures fuzz_pictures_seeds
	mkdir -p $(FUZZ_BUILD_DIR)/corpus/pictures
	$(FUZZ_BUILD_DIR)/fuzz/fuzz_pictures_seeds $(FUZZ_BUILD_DIR)/corpus/pictures
	$(FUZZ_BUILD_DIR)/fuzz/fuzz_pictures -max_total_time=$(FUZZ_SECONDS) -timeout=$(FUZZ_TIMEOUT) -max_len=8388608 \
		-artifact_prefix=$(FUZZ_BUILD_DIR)/ $(FUZZ_BUILD_DIR)/corpus/pictures

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(FUZZ_BUILD_DIR)
