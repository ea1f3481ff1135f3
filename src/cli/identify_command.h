#pragma once
#include <ostream>
#include <string>

// `programcd identify [--json] FILE`: what the window would show for FILE.
// Exit 0 accepted, 1 rejected.
int RunIdentify(const std::string& path, bool json, std::ostream& out);
