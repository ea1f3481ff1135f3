#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

// A throw-away sysfs and /dev tree for tests of the Linux backend.
class FakeSysfs {
 public:
  FakeSysfs() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "programcd-sysfs-XXXXXX")
            .string();
    root_ = mkdtemp(pattern.data());
    std::filesystem::create_directories(dev());
  }
  ~FakeSysfs() { std::filesystem::remove_all(root_); }
  FakeSysfs(const FakeSysfs&) = delete;
  FakeSysfs& operator=(const FakeSysfs&) = delete;

  std::filesystem::path sys() const { return root_ / "sys"; }
  std::filesystem::path dev() const { return root_ / "dev"; }

  // Creates <sys>/class so that sysfs counts as mounted.
  void MountSysfs() { std::filesystem::create_directories(sys() / "class"); }
  // Creates the empty class/scsi_generic of a loaded sg driver.
  void LoadSgDriver() {
    std::filesystem::create_directories(sys() / "class" / "scsi_generic");
  }
  // A SCSI device "H:C:I:L" with its type, vendor, model and block sibling
  // ("" for none), listed in class/scsi_device.
  std::filesystem::path AddDevice(const std::string& address, int type,
                                  const std::string& vendor = "",
                                  const std::string& model = "",
                                  const std::string& block = "") {
    const auto device = sys() / "devices" / "host" / address;
    std::filesystem::create_directories(device);
    Write(device / "type", std::to_string(type) + "\n");
    Write(device / "vendor", vendor + "    \n");
    Write(device / "model", model + "        \n");
    if (!block.empty()) {
      std::filesystem::create_directories(device / "block" / block);
    }
    const auto entry = sys() / "class" / "scsi_device" / address;
    std::filesystem::create_directories(entry);
    std::filesystem::create_directory_symlink(device, entry / "device");
    return device;
  }
  // An sg node "sgN" for the device at `address`, listed in
  // class/scsi_generic; with `node`, a regular file stands in for /dev/sgN.
  void AddSg(const std::string& name, const std::string& address, int type,
             bool node, const std::string& vendor = "",
             const std::string& model = "", const std::string& block = "") {
    const auto device = AddDevice(address, type, vendor, model, block);
    const auto entry = sys() / "class" / "scsi_generic" / name;
    std::filesystem::create_directories(entry);
    std::filesystem::create_directory_symlink(device, entry / "device");
    if (node) Write(dev() / name, "");
  }

 private:
  static void Write(const std::filesystem::path& file,
                    const std::string& text) {
    std::ofstream(file) << text;
  }
  std::filesystem::path root_;
};
