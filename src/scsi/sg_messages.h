#pragma once
#include <string>
#include <string_view>

// Texts that tell the operator why a device cannot be used and what to do.

// "/dev/sg1 (TEAC CD-W540E at 2:0:4:0)" style description of a node.
std::string DescribeNode(std::string_view path, std::string_view vendor,
                         std::string_view model, std::string_view address);
// Why opening `what` failed with errno `error`; `group` owns the node and is
// named as the one to join when permission was refused.
std::string OpenFailureText(std::string_view what, int error,
                            std::string_view group);
// Why `what` could not be held exclusively: errno `error` of the exclusive
// open or lock; `mountPoint` is where it is mounted, "" when it is not;
// `group` owns the node, as for OpenFailureText.
std::string ClaimFailureText(std::string_view what, int error,
                             std::string_view mountPoint,
                             std::string_view group);
// Where `device` ("/dev/sr0") is mounted according to a /proc/self/mounts
// text, with its octal escapes undone; "" when it is not mounted.
std::string MountPointOf(std::string_view mounts, std::string_view device);
