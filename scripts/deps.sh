# Installs the Debian packages the game needs to build, run and test,
# asking apt only for what is missing. Sourced by ./run and ./test.
mivo_install_deps() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

MIVO_BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libsfml-dev libarchive-dev libx11-dev fonts-liberation fonts-dejavu-core)
MIVO_TEST_PACKAGES=(libgtest-dev zlib1g-dev xvfb xauth iproute2 libopenal1)
