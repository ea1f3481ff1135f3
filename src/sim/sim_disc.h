#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/sector.h"
#include "sim/sim_sense.h"

using SimSector = std::array<std::uint8_t, SectorSize>;

// Where a disc stands in its one recording.
enum class SimDiscState : std::uint8_t {
  kBlank,        // nothing written
  kWriting,      // track 1 open, sectors written
  kTrackClosed,  // track 1 closed, session still open
  kClosed,       // session closed; takes no more writes
};

// A CD-R holding one track in one session, written in order from LBA 0.
// A second track or session is not emulated: once the track is closed the
// disc takes no more data.
class SimDisc {
 public:
  // An 80-minute disc.
  static constexpr std::uint32_t kCapacity = 360000;

  SimDiscState State() const { return state_; }
  // Every sector written, LBA 0 first.
  const std::vector<SimSector>& Sectors() const { return sectors_; }
  // False when the closed session left the disc open for another session.
  bool Finalized() const { return finalized_; }

  // Why count sectors may not be written at lba, or nothing when they may.
  std::optional<SimSense> CheckWrite(std::uint32_t lba,
                                     std::uint32_t count) const;
  // Appends whole sectors at the next writable address; CheckWrite first.
  void Append(std::span<const std::uint8_t> data);
  // Copies count sectors from lba into out (count * 2048 bytes), or refuses.
  std::optional<SimSense> Read(std::uint32_t lba, std::uint32_t count,
                               std::span<std::uint8_t> out) const;
  // CLOSE TRACK of the given track number, or the refusal.
  std::optional<SimSense> CloseTrack(std::uint16_t track);
  // CLOSE SESSION; `finalize` false leaves room for a next session.
  std::optional<SimSense> CloseSession(bool finalize);

  // Whether READ TRACK INFORMATION with this address type (0 LBA, 1 track
  // number) and value names track 1, the only one; the refusal otherwise.
  std::optional<SimSense> FindTrack(std::uint8_t addressType,
                                    std::uint32_t value) const;
  // The Track Information block of track 1 (36 bytes).
  std::vector<std::uint8_t> TrackInformation() const;
  // The standard Disc Information block (34 bytes).
  std::vector<std::uint8_t> DiscInformation() const;

 private:
  bool TrackOpen() const {
    return state_ == SimDiscState::kBlank || state_ == SimDiscState::kWriting;
  }

  std::vector<SimSector> sectors_;
  SimDiscState state_ = SimDiscState::kBlank;
  bool finalized_ = false;
};
