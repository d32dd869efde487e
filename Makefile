# Tallyfold: the two commands a newcomer needs.
#   make test   install missing packages, configure, build, run every test
#   make run    install missing packages, build, start Tallyfold on the sample box

PRESET ?= default

.PHONY: test run build deps configure clean

test: build
	ctest --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

configure: deps
	cmake --preset $(PRESET)

deps:
	@scripts/install-deps

# Runs on a copy of the sample box, so learning and saving never change the repository's file.
run: build
	@test -f build/sample.vok || cp examples/sample.vok examples/sample.kas build/
	build/$(PRESET)/tallyfold build/sample.vok

clean:
	rm -rf build
