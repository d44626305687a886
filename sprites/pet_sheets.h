// The four sprite sheets of the pet, loaded from their stored streams and with the
// mirrored copies built, as the program holds them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "sprites/image_list.h"
#include "sprites/sheet_id.h"

namespace pimblo {

struct PetSheets {
  ImageList Heads, Legs, FHeads, FLegs;

  const ImageList& Get(SheetId id) const;
};

// Reads `Heads` and `Legs` from their image-list streams and builds `FLegs` and
// `FHeads`. The error names the sheet and what is wrong with it.
std::variant<PetSheets, std::string> LoadPetSheets(std::span<const std::uint8_t> heads,
                                                   std::span<const std::uint8_t> legs);

}  // namespace pimblo
