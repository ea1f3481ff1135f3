#include "recorder/write_parameters.h"

#include "core/big_endian.h"
#include "core/sector.h"

void EditWriteParameters(std::uint8_t* modeData, ModeLayout layout) {
  std::uint8_t* page;
  if (layout == ModeLayout::kSixByte) {
    modeData[0] = 0x00;  // mode data length: reserved in MODE SELECT
    modeData[1] = 0x00;  // medium type
    modeData[9] = 0x00;  // block length, 3 bytes
    WriteBE16(modeData + 10, static_cast<std::uint16_t>(SectorSize));
    page = modeData + 12;
  } else {
    WriteBE16(modeData, 0);  // mode data length
    page = modeData + 8;
  }
  page[0] &= 0x7F;                    // PS = 0
  page[2] = (page[2] & 0xE0) | 0x01;  // write type: track at once
  page[3] = (page[3] & 0x30) | 0x04;  // no multi-session, data track
  page[4] = (page[4] & 0xF0) | 0x08;  // Mode 1, 2048 bytes
  page[8] = 0x00;                     // session format: CD-ROM
}
