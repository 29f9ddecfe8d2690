# Debian packages the project needs, and a helper that installs the missing
# ones (as root) or says which apt-get line to run.
BUILD_PACKAGES="cmake g++ make pkg-config libsdl2-dev libcairo2-dev libpango1.0-dev libx11-dev libpng-dev libjpeg62-turbo-dev libatk1.0-dev libatk-bridge2.0-dev libdbus-1-dev fonts-dejavu-core fonts-liberation"
TEST_PACKAGES="fonts-noto-cjk fonts-thai-tlwg locales googletest libgtest-dev libbenchmark-dev xvfb xauth openbox xdotool wmctrl x11-utils xsettingsd imagemagick clang libclang-rt-14-dev g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386 x11-xserver-utils weston libdecor-0-plugin-1-cairo xorriso dpkg-dev lintian python3 at-spi2-core python3-pyatspi"

ensure_packages() {
    local missing=() foreign=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" && continue
        # Packages of another architecture only serve the 32-bit Windows
        # program's tests, which are skipped without them.
        if [[ $p == *:* ]]; then foreign+=("$p"); else missing+=("$p"); fi
    done
    [ ${#missing[@]} -eq 0 ] && [ ${#foreign[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]} ${foreign[*]}"
        if [ ${#foreign[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
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
        if [ ${#missing[@]} -gt 0 ]; then
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
                { echo "apt-get could not install: ${missing[*]}"; exit 1; }
        fi
        # A broken index of the other architecture (its security updates
        # missing) leaves its libraries behind the installed ones: apt cannot
        # pair them, and only those tests go without.
        if [ ${#foreign[@]} -gt 0 ]; then
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${foreign[@]}" >/dev/null ||
                echo "apt-get could not install ${foreign[*]}: the tests that need them are skipped"
        fi
    else
        if [ ${#missing[@]} -gt 0 ]; then
            echo "Missing packages. Run:"
            echo "  sudo apt-get install -y ${missing[*]}"
            exit 1
        fi
        echo "Without ${foreign[*]} the 32-bit Windows program's tests are skipped; to run them:"
        echo "  sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install -y ${foreign[*]}"
    fi
}
