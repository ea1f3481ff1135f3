#pragma once
#include <string>
#include <vector>

// The mount points an operator may pick image files from, root first and
// the others in name order. Kernel, memory and container-internal file
// systems are left out, and so is everything under /proc, /sys, /dev and /run.
std::vector<std::string> VolumesFromMounts(const std::string& mountTable);

// VolumesFromMounts of this process's mount table, without mount points that
// are not directories (files bound into a container); "/" when the table
// cannot be read.
std::vector<std::string> MountedVolumes();

// The volume of `volumes` that holds `path` (an absolute path): the longest
// mount point that is `path` or one of its parent directories.
std::string VolumeOf(const std::vector<std::string>& volumes, const std::string& path);
