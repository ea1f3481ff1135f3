#include "gui/volumes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string_view>

namespace {

// File systems that hold no operator files: kernel interfaces, memory file
// systems, and the read-only images of snap packages.
const std::set<std::string, std::less<>> kPseudoTypes = {
    "autofs",     "binfmt_misc", "bpf",        "cgroup",     "cgroup2",  "configfs",
    "debugfs",    "devpts",      "devtmpfs",   "efivarfs",   "fusectl",  "hugetlbfs",
    "mqueue",     "nsfs",        "proc",       "pstore",     "ramfs",    "rpc_pipefs",
    "securityfs", "selinuxfs",   "squashfs",   "sysfs",      "tmpfs",    "tracefs",
};

constexpr std::string_view kHiddenTrees[] = {"/proc", "/sys", "/dev", "/run"};

bool IsUnder(std::string_view path, std::string_view tree) {
  return path == tree || (path.starts_with(tree) && path.size() > tree.size() &&
                          (tree.ends_with('/') || path[tree.size()] == '/'));
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The mount table writes blanks, tabs, newlines and backslashes as \ooo.
std::string Unescaped(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
        IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                               (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool Wanted(const std::string& mountPoint, const std::string& type) {
  if (mountPoint == "/") return true;  // a container's root is an overlay too
  if (kPseudoTypes.count(type) != 0) return false;
  // Other overlays are the layers of container engines.
  if (type == "overlay" || type.starts_with("fuse.gvfs") || type == "fuse.portal") return false;
  return std::none_of(std::begin(kHiddenTrees), std::end(kHiddenTrees),
                      [&](std::string_view tree) { return IsUnder(mountPoint, tree); });
}

}  // namespace

std::vector<std::string> VolumesFromMounts(const std::string& mountTable) {
  std::set<std::string> others;
  bool root = false;
  std::istringstream lines(mountTable);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, mountPoint, type;
    if (!(fields >> device >> mountPoint >> type)) continue;
    mountPoint = Unescaped(mountPoint);
    if (!mountPoint.starts_with('/') || !Wanted(mountPoint, type)) continue;
    if (mountPoint == "/") {
      root = true;
    } else {
      others.insert(mountPoint);
    }
  }
  std::vector<std::string> volumes;
  if (root) volumes.push_back("/");
  volumes.insert(volumes.end(), others.begin(), others.end());
  return volumes;
}

std::vector<std::string> MountedVolumes() {
  std::ifstream file("/proc/self/mounts");
  const std::string table((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> volumes;
  for (const auto& volume : VolumesFromMounts(table)) {
    std::error_code error;
    if (std::filesystem::is_directory(volume, error)) volumes.push_back(volume);
  }
  if (volumes.empty() || volumes.front() != "/") volumes.insert(volumes.begin(), "/");
  return volumes;
}

std::string VolumeOf(const std::vector<std::string>& volumes, const std::string& path) {
  std::string best = "/";
  for (const auto& volume : volumes) {
    if (IsUnder(path, volume) && volume.size() > best.size()) best = volume;
  }
  return best;
}
