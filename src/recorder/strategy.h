#pragma once
#include <cstdint>

// The set-up sequence a RecorderType runs before the first sector.
enum class SetupFamily : std::uint8_t {
  kType1,   // vendor page 31h and command 0xE6
  kMode6,   // MMC with MODE SENSE/SELECT(6) and SET CD SPEED
  kMode10,  // MMC with MODE SENSE/SELECT(10)
};

// Where a RecorderType writes each group of sectors.
enum class WriteAddress : std::uint8_t {
  kFieldZero,  // WRITE(6) with address field 0: the recorder appends
  kQueried,    // WRITE(10) at the Next Writable Address asked before each write
  kTracked,    // WRITE(10) at nextWritable, loaded at set-up and advanced
};

// The closing sequence after the zero run.
enum class Closing : std::uint8_t {
  kType1,  // SYNCHRONIZE CACHE, vendor command 0xE9
  kMmc,    // SYNCHRONIZE CACHE, CLOSE TRACK, CLOSE SESSION
};

// Everything in which the RecorderTypes differ.
struct Strategy {
  SetupFamily setup;
  WriteAddress writeAddress;  // kTracked also reads disc and track at set-up
  std::uint8_t modeLength;    // MODE SENSE allocation = MODE SELECT list length
  bool sendsOpc;              // SEND OPC INFORMATION ends the set-up
  Closing closing;
};

// The strategy of RecorderType 1..9; null for any other value, on which
// every operation sends nothing.
const Strategy* StrategyFor(std::uint8_t recorderType);
