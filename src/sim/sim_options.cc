#include "sim/sim_options.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>
#include <utility>

#include "sim/sim_disc.h"

namespace {

constexpr std::string_view kBusForm =
    "; expected A:T=VENDOR/PRODUCT entries separated by \";\" with A and T "
    "from 0 to 7, e.g. 0:3=YAMAHA/CRW2100E";
constexpr std::string_view kFailureForm =
    "; expected OP[@K][:STATUS] with a hexadecimal opcode, a count from 1 "
    "and a status from 0 to 255 other than 1, e.g. 2A@3:4";

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::optional<std::uint32_t> ParseNumber(std::string_view text, int base) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// Pads a name with blanks to width; the error when it does not fit.
std::string PaddedName(std::string_view name, std::size_t width,
                       std::string_view what, std::string& error) {
  if (name.empty()) {
    error = std::string(what) + " is empty";
  } else if (name.size() > width) {
    error = std::string(what) + " " + Quoted(name) + " is longer than " +
            std::to_string(width) + " characters";
  } else if (!std::all_of(name.begin(), name.end(),
                          [](char c) { return c >= 0x20 && c < 0x7F; })) {
    error = std::string(what) + " " + Quoted(name) +
            " holds a character that is not printable ASCII";
  }
  std::string padded(name);
  padded.resize(width, ' ');
  return padded;
}

std::optional<std::uint8_t> ParseAddressPart(std::string_view text) {
  const auto value = ParseNumber(text, 10);
  if (!value || *value > 7) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

// One "A:T=VENDOR/PRODUCT" entry; sets error when it is wrong.
SimRecorderSlot ParseEntry(std::string_view entry, std::string& error) {
  SimRecorderSlot slot;
  const std::size_t equals = entry.find('=');
  const std::size_t colon = entry.substr(0, equals).find(':');
  if (equals == std::string_view::npos || colon == std::string_view::npos) {
    error = "entry " + Quoted(entry) + " does not start with A:T=";
    return slot;
  }
  const auto adapter = ParseAddressPart(entry.substr(0, colon));
  const auto target = ParseAddressPart(entry.substr(colon + 1, equals - colon - 1));
  if (!adapter || !target) {
    error = "address " + Quoted(entry.substr(0, equals)) +
            " is not an adapter and a target from 0 to 7";
    return slot;
  }
  slot.adapter = *adapter;
  slot.target = *target;
  const std::string_view names = entry.substr(equals + 1);
  const std::size_t slash = names.find('/');
  if (slash == std::string_view::npos) {
    error = "entry " + Quoted(entry) + " has no \"/\" between vendor and product";
    return slot;
  }
  slot.vendor = PaddedName(names.substr(0, slash), 8, "vendor", error);
  if (error.empty()) {
    slot.product = PaddedName(names.substr(slash + 1), 16, "product", error);
  }
  if (!error.empty()) error += " in entry " + Quoted(entry);
  return slot;
}

}  // namespace

SimParsed<std::vector<SimRecorderSlot>> ParseSimBus(std::string_view text) {
  SimParsed<std::vector<SimRecorderSlot>> result;
  std::set<std::pair<int, int>> seen;
  std::size_t start = 0;
  while (!text.empty() && start <= text.size()) {
    const std::size_t end = std::min(text.find(';', start), text.size());
    const std::string_view entry = text.substr(start, end - start);
    start = end + 1;
    if (entry.empty()) {
      result.error = "empty entry in " + Quoted(text);
    } else {
      SimRecorderSlot slot = ParseEntry(entry, result.error);
      if (result.error.empty() &&
          !seen.emplace(slot.adapter, slot.target).second) {
        result.error = "address " + std::to_string(slot.adapter) + ":" +
                       std::to_string(slot.target) + " is given twice";
      }
      result.value.push_back(std::move(slot));
    }
    if (!result.error.empty()) {
      result.error += kBusForm;
      result.value.clear();
      return result;
    }
  }
  return result;
}

SimParsed<SimFailure> ParseSimFailure(std::string_view text) {
  SimParsed<SimFailure> result;
  std::string_view op = text;
  std::optional<std::string_view> count;
  std::optional<std::string_view> status;
  if (const std::size_t colon = op.find(':'); colon != std::string_view::npos) {
    status = op.substr(colon + 1);
    op = op.substr(0, colon);
  }
  if (const std::size_t at = op.find('@'); at != std::string_view::npos) {
    count = op.substr(at + 1);
    op = op.substr(0, at);
  }
  std::string_view hex = op;
  if (hex.starts_with("0x") || hex.starts_with("0X")) hex.remove_prefix(2);
  const auto opcode = hex.size() <= 2 ? ParseNumber(hex, 16) : std::nullopt;
  if (!opcode) {
    result.error = "opcode " + Quoted(op) + " is not one or two hexadecimal digits";
  } else {
    result.value.opcode = static_cast<std::uint8_t>(*opcode);
  }
  if (result.error.empty() && count) {
    const auto k = ParseNumber(*count, 10);
    if (!k || *k == 0) {
      result.error = "count " + Quoted(*count) + " is not a whole number from 1";
    } else {
      result.value.occurrence = *k;
    }
  }
  if (result.error.empty() && status) {
    const auto s = ParseNumber(*status, 10);
    if (!s || *s > 255 || *s == 1) {
      result.error = "status " + Quoted(*status) +
                     " is not from 0 to 255 (1 would mean success)";
    } else {
      result.value.status = static_cast<std::uint8_t>(*s);
    }
  }
  if (!result.error.empty()) {
    result.error += kFailureForm;
    result.value = {};
  }
  return result;
}

SimParsed<std::uint32_t> ParseSimCorrupt(std::string_view text) {
  SimParsed<std::uint32_t> result;
  const auto lba = ParseNumber(text, 10);
  if (!lba || *lba >= SimDisc::kCapacity) {
    result.error = "LBA " + Quoted(text) + " is not a decimal sector address from 0 to " +
                   std::to_string(SimDisc::kCapacity - 1);
  } else {
    result.value = *lba;
  }
  return result;
}

SimParsed<std::uint32_t> ParseSimNoDisc(std::string_view text) {
  SimParsed<std::uint32_t> result;
  const auto count = ParseNumber(text, 10);
  if (!count) {
    result.error = "count " + Quoted(text) +
                   " is not a decimal number of readiness tests, e.g. 2";
  } else {
    result.value = *count;
  }
  return result;
}
