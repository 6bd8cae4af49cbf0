#!/usr/bin/env bash
# Installs the Debian packages Quillfen needs to build, test and benchmark.
# Packages already present are skipped, so a second run costs one dpkg query.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    bison locales
    libgtest-dev libgmock-dev
    libbenchmark-dev liblapacke-dev libmuparser-dev
    qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libx11-dev libopencv-dev fonts-ipafont-gothic nlohmann-json3-dev
    libpng-dev libjpeg-dev zlib1g-dev
    libpoppler-qt6-dev  # PDF pages, in a module loaded at the first PDF
    libtesseract-dev tesseract-ocr-eng  # the module that reads a chart's tick labels
    clang  # the fuzz targets (libFuzzer)
)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

# A locale with a decimal comma, so the tests can show that numbers are read
# and written the same whatever the user's locale.
ensure_test_locale() {
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not build the de_DE.UTF-8 locale" >&2
}

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    ensure_test_locale
    exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_test_locale
