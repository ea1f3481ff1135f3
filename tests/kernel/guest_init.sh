#!/bin/busybox sh
# The guest's first process: mounts the kernel's file systems, loads the
# SCSI CD modules in dependency order, runs the checks and powers off. The
# results go to the second serial port, away from the kernel's messages.
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
results=/dev/ttyS1
echo "booted $(uname -r)" >"$results"
for module in $(cat /modules/order); do
  if [ -f "/modules/$module.ko" ]; then
    insmod "/modules/$module.ko" || echo "insmod $module failed" >"$results"
  fi
done
/bin/guest_check run >"$results"
poweroff -f
