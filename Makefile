# Thin wrapper over CMake. `make run`, `make test` and `make importa` install
# what a fresh Debian 12 machine lacks, configure, build and run.
BUILD ?= build
JOBS  ?= $(shell nproc)

PACKAGES = build-essential cmake ninja-build ccache qt6-base-dev qt6-webengine-dev \
           libgtest-dev libbenchmark-dev fonts-liberation2 fonts-dejavu-core qt6-translations-l10n \
           xvfb xauth xdotool imagemagick poppler-utils

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test importa bench clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null \
	    | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing: $$missing"; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/quorvanta

importa: build
	$(BUILD)/src/importa/importa

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
	    ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/quorvanta_bench

clean:
	rm -rf $(BUILD)
