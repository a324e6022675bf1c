# Shared by the set-up scripts: installs missing Debian packages, then configures and builds.
set -euo pipefail

ARDOVIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What every build of the program needs: compiler, build tools, Qt with its SQLite and PostgreSQL
# drivers (a local cellar book and a shared one), the renderer that turns the icon's SVG into
# PNGs, and the one that turns the manual's Markdown into HTML.
ARDOVIN_BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql
    librsvg2-bin cmark-gfm)

# Installs the named Debian packages that are not installed yet; quick when all are there.
ardovin_require_packages() {
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Ardovin needs these Debian packages, which are not installed:" >&2
        echo "    ${missing[*]}" >&2
        echo "Install them as root, then run this command again:" >&2
        echo "    sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures one build folder: ardovin_configure <folder> <build type> [cmake options]
ardovin_configure() {
    local folder=$1 type=$2
    shift 2
    cmake -S "$ARDOVIN_ROOT" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
}

# Configures (once) and builds one build folder: ardovin_build <folder> <build type> [cmake options]
ardovin_build() {
    ardovin_configure "$@"
    cmake --build "$1"
}

# The sanitizers' options for every run of a sanitizer build: stop at the first report with a
# stack trace, and ignore leaks only where the suppression file names Qt or the system libraries.
ardovin_sanitizer_options() {
    export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
    export LSAN_OPTIONS=suppressions=$ARDOVIN_ROOT/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
}
