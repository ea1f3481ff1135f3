#include "scsi/sg_messages.h"

#include <cerrno>
#include <cstring>
#include <sstream>

std::string DescribeNode(std::string_view path, std::string_view vendor,
                         std::string_view model, std::string_view address) {
  std::string text(path);
  std::string name(vendor);
  if (!model.empty()) name += (name.empty() ? "" : " ") + std::string(model);
  text += " (";
  if (!name.empty()) text += name + " at ";
  text += std::string(address) + ")";
  return text;
}

std::string OpenFailureText(std::string_view what, int error,
                            std::string_view group) {
  std::string text(what);
  switch (error) {
    case EACCES:
      if (group.empty()) {
        text +=
            ": permission denied; ask for read-write access to it, or "
            "run as root";
        break;
      }
      text += ": permission denied; add your user to the group '";
      text += std::string(group) + "' (sudo usermod -aG " + std::string(group) +
              " $USER), log in again and restart, or run as root";
      break;
    case EBUSY:
      text +=
          ": busy, another program holds it exclusively; close that "
          "program and restart";
      break;
    case ENOENT:
    case ENXIO:
    case ENODEV:
      text += ": the device node is missing";
      break;
    case ENOTTY:
    case EINVAL:
      text += ": not a SCSI generic device with SG_IO (sg driver 3 or later)";
      break;
    default:
      text += ": " + std::string(std::strerror(error));
      break;
  }
  return text;
}

std::string ClaimFailureText(std::string_view what, int error,
                             std::string_view mountPoint,
                             std::string_view group) {
  std::string text(what);
  if (!mountPoint.empty()) {
    return text + " is mounted at " + std::string(mountPoint) +
           "; unmount it (or eject it in the file manager) and try again";
  }
  if (error == EBUSY || error == EWOULDBLOCK) {
    return text +
           " is in use by another program (a desktop auto-mounter or "
           "another recording program); close it and try again";
  }
  return OpenFailureText(what, error, group);
}

namespace {

// Undoes the \ooo escapes that /proc/self/mounts uses for blanks and the like.
std::string Unescape(const std::string& field) {
  auto octal = [&](std::size_t i) {
    return field[i] >= '0' && field[i] <= '7';
  };
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) &&
        octal(i + 2) && octal(i + 3)) {
      out += static_cast<char>((field[i + 1] - '0') * 64 +
                               (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

}  // namespace

std::string MountPointOf(std::string_view mounts, std::string_view device) {
  std::istringstream lines{std::string(mounts)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string source, target;
    if (fields >> source >> target && Unescape(source) == device) {
      return Unescape(target);
    }
  }
  return {};
}
