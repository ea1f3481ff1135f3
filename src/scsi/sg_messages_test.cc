#include "scsi/sg_messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

using testing::HasSubstr;

namespace {

TEST(SgMessages, DescribeNodeNamesDeviceAndAddress) {
  EXPECT_EQ(DescribeNode("/dev/sg1", "TEAC", "CD-W540E", "2:0:4:0"),
            "/dev/sg1 (TEAC CD-W540E at 2:0:4:0)");
  EXPECT_EQ(DescribeNode("/dev/sg1", "", "", "2:0:4:0"), "/dev/sg1 (2:0:4:0)");
}

TEST(SgMessages, PermissionNamesTheGroupToJoin) {
  const std::string text = OpenFailureText("/dev/sg1", EACCES, "cdrom");
  EXPECT_THAT(text, HasSubstr("/dev/sg1: permission denied"));
  EXPECT_THAT(text, HasSubstr("usermod -aG cdrom"));
  EXPECT_THAT(OpenFailureText("/dev/sg1", EACCES, ""),
              HasSubstr("ask for read-write access"));
}

TEST(SgMessages, BusyMissingAndForeignNodesSaySo) {
  EXPECT_THAT(OpenFailureText("/dev/sg1", EBUSY, "cdrom"), HasSubstr("busy"));
  EXPECT_THAT(OpenFailureText("/dev/sg1", ENOENT, "cdrom"),
              HasSubstr("node is missing"));
  EXPECT_THAT(OpenFailureText("/dev/sg1", ENOTTY, "cdrom"),
              HasSubstr("not a SCSI generic device"));
}

TEST(SgMessages, ClaimTellsMountedFromBusy) {
  EXPECT_THAT(ClaimFailureText("/dev/sr0", EBUSY, "/media/op/DISC", "cdrom"),
              HasSubstr("/dev/sr0 is mounted at /media/op/DISC; unmount it"));
  EXPECT_THAT(ClaimFailureText("/dev/sr0", EBUSY, "", "cdrom"),
              HasSubstr("in use by another program"));
  EXPECT_THAT(ClaimFailureText("/dev/sr0", EWOULDBLOCK, "", "cdrom"),
              HasSubstr("in use by another program"));
  EXPECT_THAT(ClaimFailureText("/dev/sr0", EACCES, "", "cdrom"),
              HasSubstr("-aG cdrom"));
}

TEST(SgMessages, MountPointFromProcMounts) {
  const char* mounts =
      "/dev/sda1 / ext4 rw,relatime 0 0\n"
      "/dev/sr0 /media/op/MY\\040DISC iso9660 ro,nosuid 0 0\n"
      "/dev/sr10 /media/op/OTHER iso9660 ro 0 0\n";
  EXPECT_EQ(MountPointOf(mounts, "/dev/sr0"), "/media/op/MY DISC");
  EXPECT_EQ(MountPointOf(mounts, "/dev/sr10"), "/media/op/OTHER");
  EXPECT_EQ(MountPointOf(mounts, "/dev/sr1"), "");
  EXPECT_EQ(MountPointOf("", "/dev/sr0"), "");
}

}  // namespace
