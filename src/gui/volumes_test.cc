#include "gui/volumes.h"

#include <QTest>

#include "gui/gui_tests.h"

namespace {
std::vector<std::string> Volumes(const char* table) { return VolumesFromMounts(table); }
}  // namespace

class VolumesTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Root first, then real volumes by name; pseudo, memory and container mounts left out.
  void keepsOnlyVolumesWithOperatorFiles() {
    const char* table =
        "proc /proc proc rw 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "devtmpfs /dev devtmpfs rw 0 0\n"
        "tmpfs /dev/shm tmpfs rw 0 0\n"
        "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
        "overlay / overlay rw,lowerdir=/a 0 0\n"
        "tmpfs /mnt/sandbox tmpfs ro 0 0\n"
        "cgroup /sys/fs/cgroup/cpu cgroup rw 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "overlay /var/lib/docker/overlay2/x/merged overlay rw 0 0\n"
        "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
        "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
        "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "broken line\n";
    QCOMPARE(Volumes(table), (std::vector<std::string>{"/", "/home", "/media/cdrom",
                                                       "/media/usb stick"}));
  }

  // The volume of a path is its longest mount point, never a mere name prefix.
  void volumeOfAPathIsItsLongestMountPoint() {
    const std::vector<std::string> volumes = {"/", "/home", "/home/user/usb", "/media"};
    const struct {
      const char* path;
      const char* volume;
    } cases[] = {{"/", "/"},
                 {"/etc", "/"},
                 {"/home", "/home"},
                 {"/home/user/usb/x", "/home/user/usb"},
                 {"/home/user/usbstick", "/home"},
                 {"/mediaplayer", "/"}};
    for (const auto& c : cases) QCOMPARE(VolumeOf(volumes, c.path), std::string(c.volume));
  }

  // This machine's table always yields the root first.
  void mountedVolumesStartAtRoot() { QCOMPARE(MountedVolumes().front(), std::string("/")); }
};
GUI_TEST(VolumesTest);

#include "volumes_test.moc"
