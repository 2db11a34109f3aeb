# make run: set up, build, create the demo database and start the program on it (without a
# display, on an invisible virtual one: see scripts/run.sh).
# make test: set up, build and run every test (SQLite and a private PostgreSQL server,
#            and each fuzzing program for a few seconds), twice: in the environment's
#            locale and under es_AR.UTF-8.
# make fuzz: build the fuzzing programs (clang) and run each for FUZZ_SECONDS.
# make package: build the Debian package (CPack) in $(BUILD); scripts/paquete.sh
#               installs it, starts it as an unprivileged user and removes it (CI).
BUILD ?= build
FUZZ_BUILD ?= $(BUILD)-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
DEMO_DB = $(BUILD)/bin/demo.sqlite

.PHONY: setup build fuzz-build fuzz demo run test bench package clean

setup:
	bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

fuzz-build: setup
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DMA_FUZZ=ON -DMA_BUILD_TESTS=OFF -DMA_BUILD_BENCH=OFF >/dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_todos

fuzz: fuzz-build
	bash scripts/fuzz.sh all $(FUZZ_BUILD) $(FUZZ_SECONDS)

demo: build
	bash demo/create_sqlite.sh $(DEMO_DB) $(BUILD)/bin/ma_sqlite_text.so $(BUILD)/bin/MA_Empresas

run: demo
	bash scripts/run.sh $(BUILD)/bin/MA_Empresas "@Server=SQLITE;@DbName=$(abspath $(DEMO_DB));@Usuario=admin;@Password=;"

test: build fuzz-build
	bash scripts/test.sh $(BUILD)

bench: build
	bash scripts/bench.sh $(BUILD)

package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
