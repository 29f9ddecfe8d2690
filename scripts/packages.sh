# Debian packages the project needs, and a helper that installs the missing
# ones (as root) or says which apt-get line to run.
BUILD_PACKAGES="cmake g++ make pkg-config libsdl2-dev libcairo2-dev libpango1.0-dev libx11-dev libpng-dev libjpeg62-turbo-dev fonts-dejavu-core fonts-liberation"
TEST_PACKAGES="googletest libgtest-dev libbenchmark-dev xvfb xauth openbox xdotool wmctrl x11-utils xsettingsd imagemagick clang libclang-rt-14-dev g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386 x11-xserver-utils weston libdecor-0-plugin-1-cairo xorriso dpkg-dev lintian python3"

ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        # The 32-bit Windows program runs under the 32-bit Wine.
        if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
            dpkg --add-architecture i386
        fi
        # A mirror in the middle of a sync serves index files that fail their
        # checks; a later try usually finds it whole.
        local try
        for try in 1 2 3 4 5; do
            apt-get update -qq 2>&1 | tee /tmp/apt-update.$$ >&2
            grep -q '^E:' /tmp/apt-update.$$ || break
            [ "$try" -lt 5 ] && { echo "apt-get update failed; trying again in 30 s"; sleep 30; }
        done
        rm -f /tmp/apt-update.$$
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    else
        echo "Missing packages. Run:"
        [[ " ${missing[*]}" == *:i386* ]] && echo "  sudo dpkg --add-architecture i386 && sudo apt-get update"
        echo "  sudo apt-get install -y ${missing[*]}"
        exit 1
    fi
}
