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

run: build
	@echo "The main window is not there yet: 'make run' will start Tallyfold once it is."

clean:
	rm -rf build
