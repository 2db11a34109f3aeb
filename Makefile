# make run: set up, build, create the demo database and start the program on it (without a
# display, on an invisible virtual one: see scripts/run.sh).
# make test: set up, build and run every test (SQLite and a private PostgreSQL server).
BUILD ?= build
JOBS ?= $(shell nproc)
DEMO_DB = $(BUILD)/bin/demo.sqlite

.PHONY: setup build demo run test bench clean

setup:
	bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	bash demo/create_sqlite.sh $(DEMO_DB)

run: demo
	bash scripts/run.sh $(BUILD)/bin/MA_Empresas "@Server=SQLITE;@DbName=$(abspath $(DEMO_DB));@Usuario=admin;@Password=;"

test: build
	bash scripts/test.sh $(BUILD)

bench: build
	bash scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
