#include "sprites/pet_sheets.h"

#include "sprites/image_list_stream.h"
#include "sprites/mirror.h"

namespace pimblo {

const ImageList& PetSheets::Get(SheetId id) const {
  switch (id) {
    case SheetId::Heads: return Heads;
    case SheetId::Legs: return Legs;
    case SheetId::FHeads: return FHeads;
    case SheetId::FLegs: return FLegs;
  }
  return Heads;
}

std::variant<PetSheets, std::string> LoadPetSheets(std::span<const std::uint8_t> heads,
                                                   std::span<const std::uint8_t> legs) {
  auto h = ReadImageListStream(heads);
  if (!h.list) return "Heads: " + h.error;
  auto l = ReadImageListStream(legs);
  if (!l.list) return "Legs: " + l.error;
  PetSheets sheets{std::move(*h.list), std::move(*l.list), ImageList(), ImageList()};
  BuildMirroredSheets(sheets.Legs, sheets.Heads, sheets.FLegs, sheets.FHeads);
  return sheets;
}

}  // namespace pimblo
