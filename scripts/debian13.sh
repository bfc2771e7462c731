# A Debian 13 (trixie) root for the second test tier, made with debootstrap
# from Debian's archive and kept between runs. Sourced after common.sh.
#
# The root lives outside the source tree (CORVANO_DEBIAN13_ROOT, by default
# /var/cache/corvano/debian13). It is made once; the packages the scripts
# install are brought into it and upgraded whenever their list changes (or
# the last upgrade is a week old), so a run with an up-to-date root needs no
# network at all.
DEBIAN13_ROOT="${CORVANO_DEBIAN13_ROOT:-/var/cache/corvano/debian13}"
DEBIAN13_MIRROR="${CORVANO_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
# The source tree inside the root, and the build folders of this tier.
DEBIAN13_SRC=/corvano
DEBIAN13_BUILD="$DEBIAN13_SRC/build-debian13"
# It is removed and made again when incomplete: never a folder like / or /var.
case "$DEBIAN13_ROOT" in
  /*/*/*) ;;
  *) echo "CORVANO_DEBIAN13_ROOT must be an absolute folder at least three levels deep: $DEBIAN13_ROOT" >&2; exit 1 ;;
esac

# What the host needs: debootstrap, and ip for the root's own loopback.
debian13_host_packages() { bash "$ROOT/scripts/deps.sh" debootstrap iproute2; }

debian13_make_root() {
  [ -e "$DEBIAN13_ROOT/.corvano-complete" ] && return 0
  # Into a folder beside it first: an interrupted debootstrap leaves no half root behind.
  local fresh="$DEBIAN13_ROOT.new"
  rm -rf "$fresh" "$DEBIAN13_ROOT"
  mkdir -p "$(dirname "$DEBIAN13_ROOT")"
  echo "Making the Debian 13 root in $DEBIAN13_ROOT (debootstrap)"
  debootstrap --variant=minbase trixie "$fresh" "$DEBIAN13_MIRROR" >"$fresh.log" 2>&1 ||
    { tail -30 "$fresh.log"; exit 1; }
  cat >"$fresh/etc/apt/sources.list" <<EOF
deb $DEBIAN13_MIRROR trixie main
deb $DEBIAN13_MIRROR trixie-updates main
deb ${DEBIAN13_MIRROR%/debian}/debian-security trixie-security main
EOF
  # Packages installed in the root start no services.
  printf '#!/bin/sh\nexit 101\n' >"$fresh/usr/sbin/policy-rc.d"
  chmod 755 "$fresh/usr/sbin/policy-rc.d"
  mkdir -p "$fresh$DEBIAN13_SRC"
  touch "$fresh/.corvano-complete"
  mv "$fresh" "$DEBIAN13_ROOT"
  rm -f "$fresh.log"
}

# Runs a shell command inside the root, in its own mount, process and (unless
# the first argument is --network) network namespaces: the binds vanish with
# it however it ends, its Xvfb displays and test servers cannot meet the
# host's, and 127.0.0.1 is its own.
debian13_run() {
  local isolate=1
  if [ "${1:-}" = --network ]; then isolate=0; shift; cp /etc/resolv.conf "$DEBIAN13_ROOT/etc/resolv.conf"; fi
  local net=()
  [ $isolate -eq 0 ] || net=(--net)
  R="$DEBIAN13_ROOT" S="$ROOT" D="$DEBIAN13_SRC" B="$DEBIAN13_BUILD" C="$1" I=$isolate \
  unshare --mount --pid --fork --kill-child "${net[@]}" -- bash -c '
    set -e
    [ "$I" = 0 ] || ip link set lo up
    mount -t proc proc "$R/proc"
    mount -t sysfs sysfs "$R/sys"
    mount --bind /dev "$R/dev"
    mount --bind /dev/pts "$R/dev/pts"
    mount --bind /dev/shm "$R/dev/shm"
    mount -t tmpfs tmpfs "$R/tmp"
    mount --bind "$S" "$R$D"
    exec chroot "$R" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      CORVANO_BUILD_DIR="$B" CORVANO_SANITIZE_BUILD_DIR="$B-asan" CORVANO_IN_DEBIAN13=1 \
      bash -c "cd \"$D\" && $C"'
}

# Brings the packages the scripts install into the root, and upgrades it,
# when their list changed since the last time or that is a week ago.
debian13_update_packages() {
  local packages=("$@") stamp="$DEBIAN13_ROOT/.corvano-packages"
  local want
  want=$(printf '%s\n' "${packages[@]}" | sort -u)
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && [ -n "$(find "$stamp" -mtime -7)" ]; then
    return 0
  fi
  echo "Bringing the Debian 13 root up to date"
  debian13_run --network "export DEBIAN_FRONTEND=noninteractive; apt-get update -qq &&
    apt-get full-upgrade -y -qq >/dev/null &&
    apt-get install -y -qq --no-install-recommends ${packages[*]} >/dev/null && apt-get clean"
  printf '%s\n' "$want" >"$stamp"
}
