#!/usr/bin/env bash
# Installs with apt-get whatever of the given Debian packages is missing: as
# root directly, otherwise through sudo; without either it names what to
# install and stops. Sourced by the run, test, fuzz and timing commands.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing packages; as root run: apt-get install ${missing[*]}" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    if ! command -v apt-get >/dev/null; then
        echo "Missing packages (no apt-get here to install them): ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libglx-dev
                qt6-qpa-plugins fonts-dejavu-core qt6-translations-l10n)

# Builds and ctest use every core of the machine.
BUILD_JOBS="$(nproc)"
