# Debian packages the scripts need, a function that installs the missing ones,
# and one that gives the builds the compiler cache. Sourced by the scripts.

QUILLMARK_BUILD_PACKAGES="g++ make cmake qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6sql6-sqlite libqt6opengl6-dev libgl-dev fonts-dejavu-core"

# install_missing PACKAGE...: installs what dpkg does not have; as a normal
# user it prints the one apt-get line to run instead and fails.
install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ "${#missing[@]}" -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Quillmark needs these Debian packages; install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "Installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# use_ccache: sets $launcher to the cmake options that make ccache the
# compiler launcher where it is installed, so that a build reuses what an
# earlier one compiled, in this build folder or another; empty without it.
use_ccache() {
    launcher=()
    command -v ccache >/dev/null || return 0
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths inside the checkout are hashed relative to it, so that a copy of
    # it elsewhere hits the same objects.
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$top}"
}
