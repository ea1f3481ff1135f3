#include "sim/sim_disc.h"

#include <algorithm>

#include "core/big_endian.h"

namespace {

constexpr std::uint8_t kInvisibleTrack = 0xFF;

// Writes lba as the 4-byte minute/second/frame form (leading zero byte).
void WriteMsf(std::uint8_t* p, std::uint32_t lba) {
  const std::uint32_t frames = lba + 150;  // LBA 0 lies at 00:02:00
  p[0] = 0;
  p[1] = static_cast<std::uint8_t>(frames / (60 * 75));
  p[2] = static_cast<std::uint8_t>(frames / 75 % 60);
  p[3] = static_cast<std::uint8_t>(frames % 75);
}

}  // namespace

std::optional<SimSense> SimDisc::CheckWrite(std::uint32_t lba,
                                            std::uint32_t count) const {
  if (state_ == SimDiscState::kClosed) return kSenseLbaOutOfRange;
  if (!TrackOpen() || lba != sectors_.size()) return kSenseInvalidWriteAddress;
  if (std::uint64_t{lba} + count > kCapacity) return kSenseLbaOutOfRange;
  return std::nullopt;
}

void SimDisc::Append(std::span<const std::uint8_t> data) {
  for (std::size_t at = 0; at + SectorSize <= data.size(); at += SectorSize) {
    SimSector& sector = sectors_.emplace_back();
    std::copy_n(data.begin() + at, SectorSize, sector.begin());
    state_ = SimDiscState::kWriting;
  }
}

std::optional<SimSense> SimDisc::Read(std::uint32_t lba, std::uint32_t count,
                                      std::span<std::uint8_t> out) const {
  if (std::uint64_t{lba} + count > sectors_.size()) return kSenseLbaOutOfRange;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::copy(sectors_[lba + i].begin(), sectors_[lba + i].end(),
              out.begin() + std::size_t{i} * SectorSize);
  }
  return std::nullopt;
}

std::optional<SimSense> SimDisc::CloseTrack(std::uint16_t track) {
  if (state_ == SimDiscState::kClosed) return kSenseSequenceError;
  if (track != 1 || state_ == SimDiscState::kTrackClosed) {
    return kSenseInvalidCdbField;
  }
  // Closing a track that holds nothing is no error on a real recorder; it
  // simply does nothing.
  if (state_ == SimDiscState::kWriting) state_ = SimDiscState::kTrackClosed;
  return std::nullopt;
}

std::optional<SimSense> SimDisc::CloseSession(bool finalize) {
  switch (state_) {
    case SimDiscState::kWriting:
      return kSenseIncompleteTrack;
    case SimDiscState::kTrackClosed:
      state_ = SimDiscState::kClosed;
      finalized_ = finalize;
      return std::nullopt;
    case SimDiscState::kBlank:  // nothing to fix a session around
    case SimDiscState::kClosed:
      break;
  }
  return kSenseSequenceError;
}

std::optional<SimSense> SimDisc::FindTrack(std::uint8_t addressType,
                                           std::uint32_t value) const {
  if (addressType == 0) {
    if (value >= kCapacity) return kSenseLbaOutOfRange;
    return std::nullopt;
  }
  if (addressType == 1 &&
      (value == 1 || (value == kInvisibleTrack && TrackOpen()))) {
    return std::nullopt;
  }
  return kSenseInvalidCdbField;
}

std::vector<std::uint8_t> SimDisc::TrackInformation() const {
  std::vector<std::uint8_t> info(36, 0);
  const auto written = static_cast<std::uint32_t>(sectors_.size());
  WriteBE16(&info[0], static_cast<std::uint16_t>(info.size() - 2));
  info[2] = 1;  // track number
  info[3] = 1;  // session number
  if (written == 0) {
    info[6] = 0x4F;  // blank, data mode unknown
  } else {
    info[5] = 0x04;  // data track, recorded uninterrupted
    info[6] = 0x01;  // data mode 1
    info[7] |= 0x02;  // last recorded address valid
    WriteBE32(&info[28], written - 1);
  }
  WriteBE32(&info[8], 0);  // track start
  if (TrackOpen()) {
    info[7] |= 0x01;  // next writable address valid
    WriteBE32(&info[12], written);
    WriteBE32(&info[16], kCapacity - written);
    WriteBE32(&info[24], kCapacity);
  } else {
    WriteBE32(&info[24], written);
  }
  return info;
}

std::vector<std::uint8_t> SimDisc::DiscInformation() const {
  std::vector<std::uint8_t> info(34, 0);
  WriteBE16(&info[0], static_cast<std::uint16_t>(info.size() - 2));
  std::uint8_t sessions = 1;
  switch (state_) {
    case SimDiscState::kBlank:
      info[2] = 0x00;  // empty session, blank disc
      break;
    case SimDiscState::kWriting:
    case SimDiscState::kTrackClosed:
      info[2] = 0x05;  // incomplete session, appendable disc
      break;
    case SimDiscState::kClosed:
      // Finalized: complete session, complete disc. Otherwise an empty
      // next session on an appendable disc.
      info[2] = finalized_ ? 0x0E : 0x01;
      sessions = finalized_ ? 1 : 2;
      break;
  }
  info[3] = 1;         // first track on the disc
  info[4] = sessions;  // number of sessions
  info[5] = sessions;  // first track in the last session
  info[6] = sessions;  // last track in the last session
  info[7] = 0x20;      // unrestricted use
  info[8] = 0x00;      // CD-DA or CD-ROM disc
  if (state_ == SimDiscState::kClosed && finalized_) {
    std::fill(info.begin() + 16, info.begin() + 24, 0xFF);
  } else {
    info[17] = 97;  // lead-in start 97:26:66, as a typical blank reports
    info[18] = 26;
    info[19] = 66;
    WriteMsf(&info[20], kCapacity);  // last possible lead-out start
  }
  return info;
}
