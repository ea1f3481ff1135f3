#!/usr/bin/env bash
# Boots a Debian kernel in QEMU with emulated SCSI CD drives on CONTROLLER
# and runs guest_check inside it; then judges the guest's result lines.
#   run_guest.sh CONTROLLER GUEST_CHECK PROGRAMCD CACHE_DIR WORK_DIR
# Exit 0 passed, 1 failed, 77 skipped (no QEMU or no kernel package to be had).
set -euo pipefail
controller=$1 check=$2 programcd=$3 cache=$4 work=$5
here=$(cd "${0%/*}" && pwd)

# What a wait may take at most, under software emulation on a busy machine;
# CTest's own limit for the test is above their sum.
boot_limit=180 run_limit=300 poweroff_limit=30 fetch_limit=300 fetch_lock_limit=400

# The guest modules, in dependency order; those a kernel lacks are skipped.
modules=(scsi_common scsi_mod sg cdrom sr_mod virtio_ring virtio
         virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci virtio_scsi
         scsi_transport_spi sym53c8xx)

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

command -v qemu-system-x86_64 >/dev/null ||
  skip "qemu-system-x86_64 is not installed (scripts/setup.sh installs qemu-system-x86)"
command -v cpio >/dev/null || skip "cpio is not installed"
busybox=/bin/busybox
if [ ! -x "$busybox" ] || readelf -l "$busybox" 2>/dev/null | grep -q INTERP; then
  skip "no statically linked $busybox (package busybox-static)"
fi

# The kernel: vmlinuz and the modules above, fetched once from the package
# apt offers, newest first; later runs use the copy in the build tree.
kernel=$cache/kernel
mkdir -p "$cache"
exec 9>"$cache/lock"
flock -w "$fetch_lock_limit" 9 || fail "another run has held $cache/lock for $fetch_lock_limit s"
if [ ! -f "$kernel/vmlinuz" ]; then
  package=$(apt-cache search --names-only '^linux-image-[0-9.]+-[0-9]+-amd64$' 2>/dev/null |
            cut -d' ' -f1 | sort -V | tail -n 1)
  [ -n "$package" ] || skip "apt-cache knows no linux-image-*-amd64 package (run apt-get update)"
  fetch=$(mktemp -d "$cache/fetch.XXXXXX")
  trap 'rm -rf "$fetch"' EXIT
  if ! (cd "$fetch" && timeout "$fetch_limit" apt-get download -q "$package") >"$fetch/log" 2>&1; then
    skip "cannot download $package: $(grep -v '^W:' "$fetch/log" | tail -n 1)"
  fi
  mkdir -p "$fetch/root" "$fetch/kernel/modules"
  wanted=('./boot/vmlinuz-*')
  for module in "${modules[@]}"; do wanted+=("*/$module.ko"); done
  # tar complains of the modules this kernel has built in, or lacks.
  dpkg-deb --fsys-tarfile "$fetch"/*.deb |
    tar -x -C "$fetch/root" --wildcards "${wanted[@]}" 2>/dev/null || true
  cp "$fetch"/root/boot/vmlinuz-* "$fetch/kernel/vmlinuz" ||
    fail "$package holds no /boot/vmlinuz-*"
  for module in "${modules[@]}"; do
    find "$fetch/root/lib/modules" -name "$module.ko" -exec cp {} "$fetch/kernel/modules/" \;
  done
  echo "$package" >"$fetch/kernel/package"
  rm -rf "$kernel"
  mv "$fetch/kernel" "$kernel"
  rm -rf "$fetch"
  trap - EXIT
fi
flock -u 9
echo "kernel: $(cat "$kernel/package")"

# The initramfs: busybox, the two static programs, the modules, the fixtures.
rm -rf "$work"
root=$work/initramfs
mkdir -p "$root"/{bin,data,dev,modules,proc,sys,tmp}
cp "$busybox" "$root/bin/busybox"
# Without their debug information the programs unpack faster in the guest.
strip --strip-debug -o "$root/bin/guest_check" "$check"
strip --strip-debug -o "$root/bin/programcd" "$programcd"
cp "$here/guest_init.sh" "$root/init"
chmod +x "$root/init"
cp "$kernel"/modules/*.ko "$root/modules/"
printf '%s\n' "${modules[@]}" >"$root/modules/order"
"$check" fixtures "$root/data"
(cd "$root" && find . | cpio -o -H newc --quiet) | gzip -1 >"$work/initramfs.gz"
mapfile -t drives < <("$check" qemu-args "$controller" "$root/data/cd.img")

console=$work/console.log results=$work/results.log
: >"$console"
: >"$results"
# /dev/kvm exists on these machines but hangs the guest: software emulation.
qemu-system-x86_64 -accel tcg -m 384 -nodefaults -display none -no-reboot \
  -kernel "$kernel/vmlinuz" -initrd "$work/initramfs.gz" \
  -append "console=ttyS0 panic=-1 quiet" \
  -serial "file:$console" -serial "file:$results" "${drives[@]}" </dev/null &
qemu=$!
trap 'kill "$qemu" 2>/dev/null || true' EXIT
started=$SECONDS

show() {
  echo "--- guest console (last 40 lines) ---"
  tail -n 40 "$console" | tr -d '\r'
  echo "--- guest results ---"
  tr -d '\r' <"$results"
}
# Waits until the results hold a line matching $1, for at most $2 seconds.
await() {
  local deadline=$((SECONDS + $2))
  until grep -q "$1" "$results"; do
    if ! kill -0 "$qemu" 2>/dev/null; then
      grep -q "$1" "$results" && return 0
      show
      fail "QEMU ended before the guest printed \"$1\""
    fi
    if ((SECONDS > deadline)); then
      show
      fail "no \"$1\" from the guest within $2 s"
    fi
    sleep 0.2
  done
}
await '^booted' "$boot_limit"
booted=$SECONDS
await '^SUMMARY' "$run_limit"
deadline=$((SECONDS + poweroff_limit))
while kill -0 "$qemu" 2>/dev/null && ((SECONDS <= deadline)); do sleep 0.2; done
kill -0 "$qemu" 2>/dev/null && echo "note: the guest did not power off within $poweroff_limit s"
echo "boot $((booted - started)) s, checks and power-off $((SECONDS - booted)) s"

tr -d '\r' <"$results"
if ! "$check" verdict "$results"; then
  show
  exit 1
fi
