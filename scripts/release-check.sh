#!/usr/bin/env bash
# Release check: the README's two commands and the installation on a freshly
# bootstrapped Debian 12, as a new machine in the office would meet them.
#
#   sudo scripts/release-check.sh [TARGET_DIR]
#
# Needs root, debootstrap (installed when missing) and a Debian mirror
# (MIRROR, default http://deb.debian.org/debian). Takes a long time: the
# system is bootstrapped, the packages installed and everything built from
# nothing. The chroot is left in TARGET_DIR (default /var/tmp/orva-release)
# for a look afterwards; remove it with `rm -rf` once its mounts are gone.
#
# Steps, each must succeed:
#  1. debootstrap bookworm (minbase) with sudo, ca-certificates and git;
#  2. the repository (the committed tree of HEAD) copied in as a user's clone;
#  3. `bash scripts/test.sh` as that user (installs the packages with sudo,
#     builds, runs every test);
#  4. `bash scripts/run-demo.sh` under xvfb-run: the program must start and
#     still run after 20 s (it is then ended with SIGTERM, which saves and exits);
#  5. `cmake --install build --prefix /usr` and the installed files checked:
#     orva, orva-cli, the desktop entry (desktop-file-validate) and the icon;
#     `orva-cli check` on the demo data;
#  6. the desktop entry's Exec command, run as the user from the home folder,
#     must start the installed program and keep it running for 10 s.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:-/var/tmp/orva-release}
mirror=${MIRROR:-http://deb.debian.org/debian}

if [[ $(id -u) -ne 0 ]]; then
  echo "release-check: run as root (debootstrap and chroot need it)" >&2
  exit 2
fi
command -v debootstrap >/dev/null || apt-get install -y debootstrap

step() { echo; echo "=== release-check: $*"; }

step "bootstrapping Debian 12 into $target"
if [[ ! -x "$target/usr/bin/apt-get" ]]; then
  debootstrap --variant=minbase --include=sudo,ca-certificates,git bookworm "$target" "$mirror"
fi

mounts=(proc sys dev dev/pts)
cleanup() {
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -l "$target/${mounts[$i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT
mount -t proc proc "$target/proc"
mount -t sysfs sys "$target/sys"
mount --bind /dev "$target/dev"
mount --bind /dev/pts "$target/dev/pts"
cp /etc/resolv.conf "$target/etc/resolv.conf"

in_chroot() { chroot "$target" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 bash -c "$1"; }
as_user() { chroot "$target" /usr/bin/env -i HOME=/home/kancelar PATH=/usr/bin:/bin \
  LANG=C.UTF-8 USER=kancelar su kancelar -c "$1"; }

step "a user with sudo and the repository"
in_chroot 'id kancelar >/dev/null 2>&1 || useradd -m -s /bin/bash kancelar;
  echo "kancelar ALL=(ALL) NOPASSWD: ALL" >/etc/sudoers.d/kancelar'
rm -rf "$target/home/kancelar/orva"
mkdir -p "$target/home/kancelar/orva"
git -C "$root" archive HEAD | tar -x -C "$target/home/kancelar/orva"
in_chroot 'chown -R kancelar: /home/kancelar/orva'

step "README: bash scripts/test.sh"
as_user 'cd ~/orva && bash scripts/test.sh'

step "README: bash scripts/run-demo.sh (under xvfb-run, 20 s)"
in_chroot 'apt-get install -y xvfb xauth >/dev/null'
as_user 'cd ~/orva && export XDG_RUNTIME_DIR=$(mktemp -d) && chmod 700 $XDG_RUNTIME_DIR &&
  xvfb-run -a bash scripts/run-demo.sh & pid=$!; sleep 20;
  program=$(pgrep -n -u kancelar -x orva) || { echo "the program did not start"; exit 1; };
  kill -TERM "$program"; wait $pid || true'

step "cmake --install and the installed files"
in_chroot 'apt-get install -y desktop-file-utils >/dev/null'
in_chroot 'cd /home/kancelar/orva && cmake --install build --prefix /usr >/dev/null &&
  test -x /usr/bin/orva && test -x /usr/bin/orva-cli &&
  test -f /usr/share/icons/hicolor/scalable/apps/orva.svg &&
  test -f /usr/share/icons/hicolor/48x48/apps/orva.png &&
  desktop-file-validate /usr/share/applications/orva.desktop'
as_user 'd=$(mktemp -d) && cp -R ~/orva/examples/demo/. $d/ && orva-cli check --base $d'

step "the desktop entry's command starts the installed program (10 s)"
as_user 'cd ~ && export XDG_RUNTIME_DIR=$(mktemp -d) && chmod 700 $XDG_RUNTIME_DIR &&
  command=$(sed -n "s/^Exec=//p" /usr/share/applications/orva.desktop) &&
  xvfb-run -a $command & pid=$!; sleep 10;
  program=$(pgrep -n -u kancelar -x orva) || { echo "the installed program did not start"; exit 1; };
  kill -TERM "$program"; wait $pid || true'

step "passed"
